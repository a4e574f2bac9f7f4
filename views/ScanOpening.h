#pragma once

#include "document/SurveyDocument.h"
#include "views/ImageLoader.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class ViewEditor;

// Opening scans off the window's thread, one road for every reason a scan is read: Open Plan or
// Profile, a sheet added, a project opened (both scans at once), a project's missing scan located,
// and a sheet shown without its decoded scan (a tab chosen, undo or redo, a recovered job).
//
// It asks nothing itself: what the user must be asked or told comes out of next() as a value, and
// the answer goes back through answer(); what only the window can do (put an opened project in
// place, offer to recalculate the stations after a new scale) comes out the same way. Until a read
// has been answered nothing has changed, so Cancel (or Esc) leaves the job as it was.
class ScanOpening
{
public:
    // One thing for the window to ask, tell or do.
    struct Step
    {
        enum class Kind {
            Message,         // tell `text` (`error`: as an error)
            YesNo,           // ask `text`; Yes opens (the memory needed, the readable part of a damaged scan)
            PdfPage,         // choose a page and resolution of the PDF `path`, no finer than `highestDotsPerInch`
            OfferToLocate,   // `text` names a scan that is not there: Locate... or OK
            ChooseScanFile,  // the scan dialog of `side`: a file name, or none when cancelled
            ScaleChanged,    // a scan opened with a scale other than `oldScale`: offer to recalculate
            ProjectGivenUp   // a project's scans were cancelled: the job stays, its project held again
        };
        Kind kind = Kind::Message;
        ViewSide side = ViewSide::Plan;
        QString text;
        bool error = false;
        QString path;
        QList<int> highestDotsPerInch;
        double oldScale = 0.0;
    };
    // The user's answer; what a step that asks nothing needs none of.
    struct Answer
    {
        bool yes = false;     // YesNo, OfferToLocate; PdfPage: a page was chosen
        int pdfPage = 1;
        int dotsPerInch = ImageRequest::DefaultDotsPerInch;
        QString path;         // ChooseScanFile
    };
    // A scan of an opened project that could not be shown: said once, not read again.
    struct Unopened
    {
        ViewSide side = ViewSide::Plan;
        QString message;
        bool fileMissing = false; // no file there: the user may locate it
        bool error = false;       // said as an error
    };
    // Puts an opened project in place with its two scans read (an image dropped where the user
    // declined it) and says which scans it could not show.
    using ProjectOpener = std::function<QList<Unopened>(ImageRead plan, ImageRead profile)>;

    ScanOpening(SurveyDocument &document, ViewEditor &viewEditor,
                qint64 memoryWithoutAsking = ImageRequest::MemoryWithoutAsking);

    ImageLoader &loader() { return m_loader; }

    // Whether a scan the user asked for must wait (a sheet's own scan gives way).
    bool busy() const;
    // A scan for a pane (Open Plan/Profile, a dropped file) or for a new sheet.
    void openScan(ViewSide side, const QString &path);
    void addSheet(ViewSide side, const QString &path);
    // A project's scans (plan's job, then profile's); `open` puts the project in place once
    // they are read and answered for.
    void openProject(const QList<ImageJob> &jobs, ProjectOpener open);
    // The document changed: a sheet shown without its scan has it read, or its reading stops
    // when the sheet is put away. A sheet shown again is asked for again.
    void documentChanged(bool shownSheetChanged);
    // The loader finished.
    void readEnded();

    // What the window must ask, tell or do next, if anything; then answer().
    std::optional<Step> next();
    void answer(const Answer &answer);

private:
    enum class Purpose { None, Scan, NewSheet, Project, Locate, SheetScan };
    struct Pending
    {
        Step step;
        std::function<void(const Answer &)> then;
    };
    void ask(Step step, std::function<void(const Answer &)> then = {});
    void tell(ViewSide side, const QString &text, bool error);
    void readWanted();
    void sheetScanRead();
    void scanRead();
    void scanReadEnded();
    void applyScan();
    void projectScansRead();
    void projectDamageAnswered(ImageRead plan, ImageRead profile, int from);
    void projectOpened(const QList<Unopened> &unopened);
    void locateNext();
    void askMemory(int job, std::function<void()> declined);
    void retry(int job, ImageRequest request);

    SurveyDocument &m_document;
    ViewEditor &m_viewEditor;
    qint64 m_memoryWithoutAsking;
    ImageLoader m_loader;
    Purpose m_purpose = Purpose::None;
    ViewSide m_side = ViewSide::Plan;
    SheetId m_sheet = PlanSheet;           // SheetScan: the sheet whose scan is read ...
    ScanSource m_scan;                     // ... and from where
    QList<ScanSource> m_notRead;           // refused, declined or cancelled: not asked again
    ProjectOpener m_openProject;
    bool m_declined[2] = {false, false};   // a project's scans whose memory was refused
    int m_retried = 0;                     // a project's scans to read again with more memory (bits)
    QList<Unopened> m_toLocate;
    QList<Pending> m_pending;
    std::optional<Pending> m_asked;
};
