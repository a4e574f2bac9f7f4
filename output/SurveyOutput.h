#pragma once

#include "output/Exporter.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

class EditSession;
class SurveyDocument;
struct ViewSnapshot;

// The window's survey data files and pictures: where Save, Save as and the save prompt write and
// in which format, what the text preview holds, and the writing itself. Every text is built from
// the survey as it stands through the Exporter; the preview shows it, and is saved instead only
// when the user edited it and the survey has not changed since it was built.
class SurveyOutput
{
public:
    // What the save prompt on closing ended in.
    enum class PromptResult {
        Discarded,    // "No": the changes are dropped
        Saved,        // "Yes": the project (and the known data file) written
        Cancelled,    // "Cancel", or a dialog cancelled, or a write failed: nothing closes
        NothingToAsk, // nothing unsaved
    };

    // A file to write and the format it gets.
    struct Target
    {
        QString path;
        ExportFormat format = ExportFormat::LumaroFromTo;
    };

    SurveyOutput(SurveyDocument &document, EditSession &session);

    // Save: the known data file, or the name chosen in the dialog (chosen may be empty when a data
    // file is known), cut before the first "." of its name and given the extension of its format.
    // A chosen name whose extension we know chooses the format (".svx", ".th", ".cav"); any other
    // gets the ticked layout.
    Target saveTarget(const QString &chosen) const;
    // Save as: the chosen name as it is (given its format's extension only when it has none), in
    // the format of the filter chosen, else the one its name asks for, else the ticked layout.
    Target saveAsTarget(const QString &chosen, std::optional<ExportFormat> byFilter) const;

    // The text of a format, built from the survey as it stands (throws CommandError when the
    // orientation is not a number; a leg that cannot be computed ends the text, see SurveyText).
    SurveyText build(ExportFormat format) const;
    // Whether Save would now write other bytes than the survey data file on disk holds (or it is
    // not there); false when the job has no data file.
    bool dataFileDiffers() const;

    // Where the text to save comes from.
    enum class TextSource {
        Build,         // build it afresh
        Edited,        // the preview as the user edited it: the survey is as it was built from
        AskEditedOrBuild, // the user edited the preview and the survey changed since: ask
    };
    TextSource sourceFor(ExportFormat format) const;

    // The preview now shows the text of `format` built from `from` (its edits are gone) ...
    void previewBuilt(ExportFormat format, const Survey &from);
    // ... or the user typed into it, or it was emptied (Close Project).
    void previewEdited() { m_preview.edited = true; }
    void previewCleared() { m_preview = Preview(); }
    bool previewHoldsEdits() const { return m_preview.edited; }
    // The format the preview's text is in (the ticked layout's before anything was built).
    std::optional<ExportFormat> previewFormat() const { return m_preview.format; }

    // Writes lines to the target; a layout's file becomes the data file Save writes to next (a
    // name that chose another layout than the ticked one ticks it).
    void write(const QStringList &lines, const Target &target);

    static QString filter(ExportFormat format); // "Therion files (*.th)", "Compass files (*.dat)", ...
    static void writeText(const QStringList &lines, const QString &path);
    // "Save BMP": the view's annotated picture at source size, drawn and written a band of rows at
    // a time (see BitmapFile).
    static void writePicture(const ViewSnapshot &view, const QString &path);

private:
    struct Preview
    {
        std::optional<ExportFormat> format; // none: nothing built yet
        std::optional<Survey> builtFrom;
        bool edited = false;
    };

    ExportFormat ticked() const;

    SurveyDocument &m_document;
    EditSession &m_session;
    Preview m_preview;
};
