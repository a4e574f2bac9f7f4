#pragma once

#include "project/ProjectContents.h"
#include "views/ImageLoader.h"

#include <QList>
#include <QString>

class EditSession;
class SurveyDocument;

// Opening, saving and closing a whole job. Reading and writing the file are ProjectFile's;
// this puts a project into the document and the session, and takes it out again.
class ProjectController
{
public:
    // What became of one scan of an opened project.
    struct Scan
    {
        QString path;             // the file it was read from (or looked for)
        bool fileMissing = false; // no file there: the user may locate it
        ImageRead::Problem problem = ImageRead::Problem::None;
        QString message;          // what to tell the user when it was not opened
    };

    struct Opened
    {
        bool planImageMissing = false;   // the image could not be read: its pane stays empty
        bool profileImageMissing = false;
        Scan plan;
        Scan profile;
    };

    ProjectController(SurveyDocument &document, EditSession &session);

    // Replaces the job with a project already read and checked (see ProjectFile::read), read
    // from `path`. The images are read from the paths it names or, when they were moved with the
    // project, from beside it. The survey's "modified" mark is left as it was.
    Opened open(const ProjectContents &project, const QString &path);

    // The same in two steps, so that the window can decode both scans at once off its thread
    // (ImageLoader) and leave everything as it was when the user cancels. First the files to read
    // and how: the plan's job, then the profile's (an empty path where the project names none) ...
    static QList<ImageJob> scanJobs(const ProjectContents &project, const QString &path);
    // ... then the job with what reading them gave. A result with an image is shown (a Damaged one
    // only if the user agreed: otherwise drop its image); one without leaves its pane empty.
    Opened open(const ProjectContents &project, const QString &path, ImageRead plan, ImageRead profile);

    // The job without reading its scans: each view keeps the scan the project names (found where
    // a folder moved with it), to be read in the background by whoever shows it.
    void openWithoutScans(const ProjectContents &project, const QString &path);

    // A scan found again after it went missing ("Locate..."): shown, and its path used from now
    // on (saved with the project). Zoom, scale and stations stay as the project had them.
    void setScan(ViewSide side, ImageRead read);

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
