#pragma once

#include "project/ProjectContents.h"

#include <QString>

class EditSession;
class SurveyDocument;

// Opening, saving and closing a whole job. Reading and writing the file are ProjectFile's;
// this puts a project into the document and the session, and takes it out again.
class ProjectController
{
public:
    struct Opened
    {
        bool planImageMissing = false;   // the image could not be read: its pane stays empty
        bool profileImageMissing = false;
    };

    ProjectController(SurveyDocument &document, EditSession &session);

    // Replaces the job with a project already read and checked (see ProjectFile::read), read
    // from `path`. The images are read from the paths it names or, when they were moved with the
    // project, from beside it. The survey's "modified" mark is left as it was.
    Opened open(const ProjectContents &project, const QString &path);

    // Writes the job to `path`. Throws CommandError, with nothing written, when an entry is not a
    // number or the file cannot be written.
    void saveAs(const QString &path) const;

    // An empty job: no stations, zoom 1, grid shifts 0, Add mode, no data file, nothing to save.
    // The images and every other setting stay.
    void close();

private:
    SurveyDocument &m_document;
    EditSession &m_session;
};
