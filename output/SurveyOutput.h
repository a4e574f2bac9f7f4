#pragma once

#include "output/Exporter.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class EditSession;
class SurveyDocument;
struct ViewSnapshot;

// The window's survey data files and pictures: where Save, Save as and the close prompt write and
// in which format, what the text preview holds, what the close question names, and the writing
// itself. Every text is built from the survey as it stands through the Exporter and written by
// it; the preview shows that text, and is saved instead only when the user edited it and the
// survey has not changed since it was built (or the user says to keep the edits). Questions to
// the user are returned as text; the window asks them.
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

    // Where the text to save comes from.
    enum class TextSource {
        Build,            // build it afresh
        Edited,           // the preview as the user edited it: the survey is as it was built from
        AskEditedOrBuild, // the user edited the preview and the survey changed since: ask
    };

    SurveyOutput(SurveyDocument &document, EditSession &session);

    // The text preview: shown every text built here, and read when its edits are saved.
    void setPreview(std::function<void(const QStringList &)> show, std::function<QStringList()> read);

    // ---- Which file

    // The format of the ticked layout.
    ExportFormat ticked() const;
    // Save writes without asking for a name.
    bool dataFileKnown() const;
    // The extension Save's dialog puts on a name typed without one: the ticked layout's, no dot.
    QString saveSuffix() const;
    // Save: the known data file, or the name chosen in the dialog (chosen may be empty when a data
    // file is known), cut before its known extension and given the extension of its format. A
    // chosen name whose extension we know chooses the format; any other gets the ticked layout.
    Target saveTarget(const QString &chosen) const;
    // Save as: the chosen name in the format its extension asks for, else the one of the filter
    // chosen, else the ticked layout's. A name without any extension gets its format's; so does
    // one whose extension no format has, for a file survexport writes.
    Target saveAsTarget(const QString &chosen, const QString &selectedFilter) const;
    // The format of the text a target's file is written from: its own, or Survex's.
    static ExportFormat textFormat(ExportFormat format);

    // ---- What is written

    TextSource sourceFor(ExportFormat format) const;
    // The question AskEditedOrBuild asks: Yes keeps the edits, No builds the text again.
    static QString editedQuestion();

    // The text of a format, built from the survey as it stands (a leg that cannot be computed ends
    // the text, see SurveyText).
    SurveyText build(ExportFormat format) const;
    // Builds the text and shows it in the preview, unless the preview holds the user's edits of
    // another format's text. Throws CommandError when it could not be completed (the lines built
    // before the leg that stopped it stay shown).
    SurveyText show(ExportFormat format);
    // The bytes the source gives for a format: the preview's lines, or the text built and shown.
    QByteArray bytes(ExportFormat format, TextSource source);

    // Writes a text format's target from the source (Build or Edited); a layout's file becomes
    // the data file Save writes to next (a name that chose another layout than the ticked one
    // ticks it). Throws CommandError with nothing written when it cannot.
    void write(const Target &target, TextSource source);
    // The same with lines the user edited.
    void write(const QStringList &lines, const Target &target);

    // Throws CommandError when survexport cannot write the target now: Survex is not installed,
    // it is still writing `busyWith` (empty: idle), or the file places the cave on the Earth and
    // the entrance has no coordinates.
    void checkSurvexport(const Target &target, bool installed, const QString &busyWith) const;

    // ---- Closing

    // Whether Save would now write other bytes than the survey data file on disk holds (or it is
    // not there); false when the job has no data file.
    bool dataFileDiffers() const;
    // What closing asks, naming what is not saved (the data file when Save would write other
    // bytes); none when everything is saved.
    std::optional<QString> closeQuestion() const;

    // ---- The preview's state

    // The user typed into the preview, or it was emptied (Close Project).
    void previewEdited() { m_preview.edited = true; }
    void previewCleared() { m_preview = Preview(); }

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

    void remember(const Target &target);

    SurveyDocument &m_document;
    EditSession &m_session;
    Preview m_preview;
    std::function<void(const QStringList &)> m_showPreview;
    std::function<QStringList()> m_readPreview;
};
