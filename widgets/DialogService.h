#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct SurveyDetails;

class QWidget;

// A file dialog of the main window: its settings and the file name it remembers between uses
// (a dialog object keeps the last chosen name, and commands may write a name back into it).
struct FileDialog
{
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString filter;        // Qt form, e.g. "Speomark Project Files (*.sprj);;All (*)"
    QString defaultSuffix; // without the dot; added to a chosen name that has no extension
    bool overwritePrompt = false;
    QString fileName;      // last chosen (or written back) name
    QString settingsKey;   // the folder last used is remembered under this name across runs
    QString selectedFilter; // the filter the user chose, after OK
};

enum class MessageIcon { None, Information, Error };
enum class Answer { Yes, No, Cancel };

// A job a program left behind when it did not close, as the recovery list shows it, and what the
// user chose for it.
struct LeftBehindJob
{
    QString project;  // the project file, or words for a job never saved
    QString savedAt;  // when it was last written, as the interface shows times
    int stationCount = 0;
};
enum class RecoveryChoice { Keep, Recover, Discard };

// Every modal dialog and message box of the program goes through this interface, so commands
// can be run by tests with scripted answers. The window owns one; the Qt one shows real dialogs.
class DialogService
{
public:
    virtual ~DialogService() = default;

    // Shows the dialog; on OK stores the chosen path in dialog.fileName (with the default suffix
    // added when the name has no extension) and returns true; on cancel returns false.
    virtual bool execute(QWidget *parent, FileDialog &dialog) = 0;

    // A modal box with one OK button.
    virtual void message(QWidget *parent, const QString &caption, const QString &text,
                         MessageIcon icon) = 0;

    // A modal box with Yes, No and Cancel; closing it counts as Cancel.
    virtual Answer askYesNoCancel(QWidget *parent, const QString &caption, const QString &text) = 0;

    // A modal box with Yes and No; true for Yes, closing it counts as No. Enter answers
    // `defaultAnswer`.
    virtual bool askYesNo(QWidget *parent, const QString &caption, const QString &text,
                          Answer defaultAnswer = Answer::Yes) = 0;

    // A modal box asking for a line of text; false when cancelled.
    virtual bool askText(QWidget *parent, const QString &caption, const QString &label, QString *text) = 0;

    // Which page of a PDF sheet, at what resolution: starts from *page and *dotsPerInch and stores
    // the choice, no finer than the page's entry in highestDotsPerInch (one per page); false when
    // cancelled.
    virtual bool choosePdfPage(QWidget *parent, const QString &path, const QList<int> &highestDotsPerInch, int *page,
                               int *dotsPerInch) = 0;

    // The survey details dialog: edits *details (with the stations the entrance can be chosen
    // from); false when cancelled.
    virtual bool editSurveyDetails(QWidget *parent, SurveyDetails *details, const QStringList &entranceChoices) = 0;

    // A message about a file that is not there, with OK and "Locate..."; true for "Locate...".
    virtual bool offerToLocate(QWidget *parent, const QString &caption, const QString &text) = 0;

    // Jobs left behind, in one list with a choice for each (*choices holds one per job, the
    // proposal on entry); false when cancelled, which keeps them all.
    virtual bool chooseRecoveries(QWidget *parent, const QList<LeftBehindJob> &jobs, QList<RecoveryChoice> *choices) = 0;
};

// The name with the dialog's default suffix appended when its own file name has no extension,
// as a save dialog returns a name typed without one.
QString withDefaultSuffix(const QString &path, const QString &defaultSuffix);
