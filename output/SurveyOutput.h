#pragma once

#include "output/SurveyText.h"

#include <QImage>
#include <QString>
#include <QStringList>

class EditSession;
class SurveyDocument;
struct ViewSnapshot;

// The survey data text and the pictures of the views: building the text from the document,
// naming and writing data files (the text preview's lines, as the user may have edited them),
// and writing pictures. Every write goes through the whole-file writer.
class SurveyOutput
{
public:
    // What the save prompt on closing ended in.
    enum class PromptResult {
        Discarded,         // "No": the changes are dropped
        SavedToChosenFile, // "Yes", with a name chosen in the dialog
        Cancelled,         // "Cancel", or the dialog cancelled: nothing closes
        NothingToAsk,      // no changes, or "Yes" with the text saved to the known data file
    };

    SurveyOutput(SurveyDocument &document, EditSession &session);

    // The text in the document's layout and style. Throws CommandError when the plan orientation
    // entry is not a number; a leg that cannot be computed ends the text (see SurveyText).
    SurveyText build() const;

    // ".cav" for the Lumaro layouts, ".svx" for Survex.
    QString extension() const;

    // Save: the known data file, or the name chosen in the dialog (chosen may be empty when a data
    // file is known), with the layout's extension in place of its own. Returns the path written.
    QString save(const QStringList &lines, const QString &chosen);
    // Save as: the chosen name, given the layout's extension only when it has none.
    QString saveAs(const QStringList &lines, const QString &chosen);
    // Save as in another program's format: the chosen name (".th" or ".dat" added when it has no
    // extension). The layout's data file stays the one Save writes to.
    enum class OtherFormat { Therion, Compass };
    QString saveAs(OtherFormat format, const QString &chosen) const;
    static QString filter(OtherFormat format);

    // The save prompt's "Yes": to the known data file, or to the chosen name as it is.
    void saveToKnownFile(const QStringList &lines);
    void saveToChosenFile(const QStringList &lines, const QString &chosen);

    static void writeText(const QStringList &lines, const QString &path);
    // "Save BMP": the view's annotated picture at source size, drawn and written a band of rows at
    // a time (see BitmapFile).
    static void writePicture(const ViewSnapshot &view, const QString &path);

private:
    void remember(const QString &path);

    SurveyDocument &m_document;
    EditSession &m_session;
};
