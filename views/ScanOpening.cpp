#include "views/ScanOpening.h"

#include "views/ImageMessages.h"
#include "views/ScaleCalibration.h"
#include "views/ViewEditor.h"

#include <QFileInfo>

using Problem = ImageRead::Problem;
using Kind = ScanOpening::Step::Kind;

namespace {

ViewSide sideOf(const SurveyDocument &document, SheetId sheet)
{
    return document.sheet(sheet).kind == SheetKind::Plan ? ViewSide::Plan : ViewSide::Profile;
}

ViewSide sideOfJob(int job) { return job == 0 ? ViewSide::Plan : ViewSide::Profile; }

} // namespace

ScanOpening::ScanOpening(SurveyDocument &document, ViewEditor &viewEditor, qint64 memoryWithoutAsking)
    : m_document(document), m_viewEditor(viewEditor), m_memoryWithoutAsking(memoryWithoutAsking)
{
}

bool ScanOpening::busy() const
{
    return m_purpose != Purpose::SheetScan && m_loader.isBusy(); // starting cancels a sheet's read
}

void ScanOpening::openScan(ViewSide side, const QString &path)
{
    m_purpose = Purpose::Scan;
    m_side = side;
    ImageRequest request; // a PDF answers with its pages to choose from
    request.memoryAllowed = m_memoryWithoutAsking;
    m_loader.start({{path, request}});
}

void ScanOpening::addSheet(ViewSide side, const QString &path)
{
    openScan(side, path);
    m_purpose = Purpose::NewSheet;
}

void ScanOpening::openProject(const QList<ImageJob> &jobs, ProjectOpener open)
{
    m_purpose = Purpose::Project;
    m_openProject = std::move(open);
    m_declined[0] = m_declined[1] = false;
    QList<ImageJob> limited = jobs;
    for (ImageJob &job : limited)
        job.request.memoryAllowed = m_memoryWithoutAsking;
    m_loader.start(limited); // both scans at once
}

void ScanOpening::documentChanged(bool shownSheetChanged)
{
    if (shownSheetChanged)
        m_notRead.clear(); // a sheet chosen again is asked for again
    readWanted();
}

// A sheet shown (a tab chosen, an undo, a recovered job) whose scan is not held is read through
// the same road as an opened scan: memory question, progress and Esc.
void ScanOpening::readWanted()
{
    const auto wanted = m_document.scanWanted();
    const bool sheetScan = m_purpose == Purpose::SheetScan;
    const bool readingIt = sheetScan && wanted && wanted->first == m_sheet && wanted->second == m_scan;
    if (sheetScan && !readingIt && (!wanted || m_notRead.contains(wanted->second))) {
        m_loader.cancel(); // the sheet being read was put away
        m_purpose = Purpose::None;
        return;
    }
    // An open under way comes first; a sheet read for a sheet put away gives way (start cancels it).
    if (!wanted || readingIt || m_notRead.contains(wanted->second) || (m_purpose != Purpose::None && !sheetScan))
        return;
    if (!QFileInfo::exists(wanted->second.path)) {
        m_notRead.append(wanted->second);
        tell(sideOf(m_document, wanted->first), ImageMessages::scanMissing(sideOf(m_document, wanted->first), wanted->second.path), true);
        return;
    }
    m_purpose = Purpose::SheetScan;
    m_sheet = wanted->first;
    m_scan = wanted->second;
    m_side = sideOf(m_document, m_sheet);
    m_loader.start({{m_scan.path, ImageRequest::again(m_scan.pdfPage, m_scan.pdfDotsPerInch, m_memoryWithoutAsking)}});
}

void ScanOpening::readEnded()
{
    if (m_loader.jobCount() < 1)
        return;
    switch (m_purpose) {
    case Purpose::None:
        return;
    case Purpose::SheetScan:
        sheetScanRead();
        return;
    case Purpose::Project:
        projectScansRead();
        return;
    default:
        scanRead();
    }
}

std::optional<ScanOpening::Step> ScanOpening::next()
{
    if (m_asked || m_pending.isEmpty())
        return std::nullopt;
    m_asked = m_pending.takeFirst();
    return m_asked->step;
}

void ScanOpening::answer(const Answer &answer)
{
    if (!m_asked)
        return;
    const auto then = std::move(m_asked->then);
    m_asked.reset();
    if (then)
        then(answer);
}

void ScanOpening::ask(Step step, std::function<void(const Answer &)> then)
{
    m_pending.append({std::move(step), std::move(then)});
}

void ScanOpening::tell(ViewSide side, const QString &text, bool error)
{
    Step step;
    step.side = side;
    step.text = text;
    step.error = error;
    ask(step);
}

void ScanOpening::retry(int job, ImageRequest request)
{
    request.memoryAllowed = m_loader.result(job).bytesNeeded;
    m_loader.retry(job, request);
}

// Asks whether a scan may take the memory it needs: Yes reads it again with that much allowed.
void ScanOpening::askMemory(int job, std::function<void()> declined)
{
    Step step;
    step.kind = Kind::YesNo;
    step.side = m_side;
    step.text = ImageMessages::askMemory(m_side, m_loader.result(job));
    ask(step, [this, job, declined](const Answer &answer) {
        if (answer.yes)
            retry(job, m_loader.job(job).request);
        else
            declined();
    });
}

void ScanOpening::sheetScanRead()
{
    // What the answers act on is kept here: the loader may read another sheet's scan by then.
    const auto done = [this, sheet = m_sheet, scan = m_scan, side = m_side](ImageRead read, bool show) {
        if (show) {
            m_document.setSheetImage(sheet, scan, std::move(read.image));
        } else {
            m_notRead.append(scan);
            if (read.problem == Problem::NotReadable || read.problem == Problem::TooLarge)
                tell(side, ImageMessages::cannotRead(side, read), true);
        }
        readWanted(); // the other pane's, if it waits too
    };
    const Problem problem = m_loader.result(0).problem;
    if (problem == Problem::NeedsConsent) {
        askMemory(0, [this, done] {
            m_purpose = Purpose::None;
            done(m_loader.takeResult(0), false);
        });
        return;
    }
    m_purpose = Purpose::None; // shown or not, this read is over
    if (problem != Problem::Damaged)
        return done(m_loader.takeResult(0), problem == Problem::None);
    Step step;
    step.kind = Kind::YesNo;
    step.side = m_side;
    step.text = ImageMessages::askDamaged(m_side, m_loader.result(0));
    ask(step, [done, read = m_loader.takeResult(0)](const Answer &answer) { done(read, answer.yes); });
}

// One scan read: for Open Plan/Profile, a new sheet, or a missing scan of a project found again.
void ScanOpening::scanRead()
{
    const ImageRead &read = m_loader.result(0);
    Step step;
    step.side = m_side;
    switch (read.problem) {
    case Problem::Cancelled:
        break;
    case Problem::NeedsConsent:
        askMemory(0, [this] { scanReadEnded(); });
        return;
    case Problem::ChoosePage:
        step.kind = Kind::PdfPage;
        step.path = read.path;
        step.highestDotsPerInch = read.pdfHighestDotsPerInch;
        ask(step, [this](const Answer &answer) {
            if (!answer.yes)
                return scanReadEnded();
            ImageRequest request = m_loader.job(0).request;
            request.pdfPage = answer.pdfPage;
            request.dotsPerInch = answer.dotsPerInch;
            m_loader.retry(0, request);
        });
        return;
    case Problem::Damaged:
        step.kind = Kind::YesNo;
        step.text = ImageMessages::askDamaged(m_side, read);
        ask(step, [this](const Answer &answer) { answer.yes ? applyScan() : scanReadEnded(); });
        return;
    case Problem::None:
        applyScan();
        return;
    case Problem::NotReadable:
    case Problem::TooLarge:
        tell(m_side, ImageMessages::cannotRead(m_side, read), true);
        break;
    }
    scanReadEnded();
}

// A scan read and not shown: the next missing one is offered, a sheet's own read goes on.
void ScanOpening::scanReadEnded()
{
    const bool locating = m_purpose == Purpose::Locate;
    m_purpose = Purpose::None;
    if (locating)
        locateNext();
    readWanted();
}

void ScanOpening::applyScan()
{
    const Purpose purpose = m_purpose;
    const ViewSide side = m_side;
    m_purpose = Purpose::None;
    if (purpose == Purpose::Locate) {
        // Shown, and its path used from now on (saved with the project); zoom, scale and
        // stations stay as the project had them.
        ImageRead read = m_loader.takeResult(0);
        m_document.editView(side, [&](ViewSettings &view) {
            view.image = std::move(read.image);
            view.imagePath = read.path;
            view.pdfPage = read.pdfPage;
            view.pdfDotsPerInch = read.dotsPerInch;
        });
        locateNext();
        return;
    }
    const double oldScale = m_document.view(side).calibration.metresPerPixel;
    // A new sheet is a sheet of its own: its scale comes from its grid, no station moves.
    const ViewEditor::Opened opened = purpose == Purpose::NewSheet ? m_viewEditor.addSheet(side, m_loader.takeResult(0))
                                                                   : m_viewEditor.applyImage(side, m_loader.takeResult(0));
    if (opened == ViewEditor::Opened::OpenedWithoutScale) {
        tell(side, ScaleCalibration::zeroPixelsRefusal(side), false);
    } else if (purpose == Purpose::Scan && m_document.view(side).calibration.metresPerPixel != oldScale) {
        Step step;
        step.kind = Kind::ScaleChanged;
        step.side = side;
        step.oldScale = oldScale;
        ask(step);
    }
}

void ScanOpening::projectScansRead()
{
    if (m_loader.jobCount() < 2)
        return;
    for (int i = 0; i < 2; ++i) {
        if (m_loader.result(i).problem == Problem::Cancelled) { // the job stays as it was
            m_purpose = Purpose::None;
            m_openProject = {};
            Step step;
            step.kind = Kind::ProjectGivenUp;
            ask(step);
            readWanted();
            return;
        }
    }
    // Scans that need more memory than is taken without asking: read again if the user agrees.
    // Both are asked before either is read again.
    QList<int> asking;
    for (int i = 0; i < 2; ++i)
        if (m_loader.result(i).problem == Problem::NeedsConsent && !m_declined[i])
            asking.append(i);
    if (!asking.isEmpty()) {
        m_retried = 0;
        for (const int i : asking) {
            Step step;
            step.kind = Kind::YesNo;
            step.side = sideOfJob(i);
            step.text = ImageMessages::askMemory(step.side, m_loader.result(i));
            const bool last = i == asking.last();
            ask(step, [this, i, last](const Answer &answer) {
                if (answer.yes)
                    m_retried |= 1 << i;
                else
                    m_declined[i] = true;
                if (!last)
                    return;
                for (int job = 0; job < 2; ++job)
                    if (m_retried & (1 << job))
                        retry(job, m_loader.job(job).request);
                if (!m_retried)
                    projectDamageAnswered(m_loader.takeResult(0), m_loader.takeResult(1), 0);
            });
        }
        return;
    }
    projectDamageAnswered(m_loader.takeResult(0), m_loader.takeResult(1), 0);
}

// A damaged scan of the project is shown only if the user agrees; then the project is opened.
void ScanOpening::projectDamageAnswered(ImageRead plan, ImageRead profile, int from)
{
    for (int i = from; i < 2; ++i) {
        ImageRead &read = i == 0 ? plan : profile;
        if (read.problem != Problem::Damaged)
            continue;
        Step step;
        step.kind = Kind::YesNo;
        step.side = sideOfJob(i);
        step.text = ImageMessages::askDamaged(step.side, read);
        // The reads wait in the question's answer; their pixels are shared, not copied.
        ask(step, [this, i, plan, profile](const Answer &answer) mutable {
            if (!answer.yes)
                (i == 0 ? plan : profile).image = QImage();
            projectDamageAnswered(std::move(plan), std::move(profile), i + 1);
        });
        return;
    }
    const ProjectOpener open = std::move(m_openProject);
    m_openProject = {};
    const QList<Unopened> unopened = open ? open(std::move(plan), std::move(profile)) : QList<Unopened>();
    projectOpened(unopened);
    readWanted();
}

void ScanOpening::projectOpened(const QList<Unopened> &unopened)
{
    m_purpose = Purpose::None; // only now: a scan the project could not open is not read again on the way
    m_toLocate.clear();
    for (const Unopened &scan : unopened) {
        m_notRead.append(m_document.view(scan.side).scan()); // said here, not read again
        if (scan.fileMissing)
            m_toLocate.append(scan);
        else
            tell(scan.side, scan.message, scan.error);
    }
    locateNext();
}

// A project's scan that is not where the project says: the user may point to it.
void ScanOpening::locateNext()
{
    if (m_toLocate.isEmpty())
        return;
    const Unopened scan = m_toLocate.takeFirst();
    Step step;
    step.kind = Kind::OfferToLocate;
    step.side = scan.side;
    step.text = scan.message;
    ask(step, [this, side = scan.side](const Answer &answer) {
        if (!answer.yes)
            return locateNext();
        Step choose;
        choose.kind = Kind::ChooseScanFile;
        choose.side = side;
        ask(choose, [this, side](const Answer &chosen) {
            if (chosen.path.isEmpty())
                return locateNext();
            openScan(side, chosen.path);
            m_purpose = Purpose::Locate; // the rest when this one has been read
        });
    });
}
