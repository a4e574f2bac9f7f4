// Opening scans and projects off the window's thread: the reading goes on in the image loader
// while the window stays usable; what it read is applied, asked about or reported when it ends.
// Until then nothing has changed, so Cancel (or Esc) leaves the job as it was.
#include "app/ui/MainWindow.h"
#include "app/ui/WindowMenus.h"

#include "project/ProjectFile.h"
#include "views/ImageMessages.h"

#include <QFileInfo>
#include <QStatusBar>

bool MainWindow::busyReading()
{
    if (m_loading == Loading::SheetScan) { // a sheet's scan gives way to what the user asked for (start cancels it)
        m_loading = Loading::None;
        return false;
    }
    if (!m_imageLoader.isBusy())
        return false;
    statusBar()->showMessage(tr("A scan is still being read; wait for it or press Esc."), 5000);
    return true;
}

void MainWindow::openImageFile(ViewSide side, const QString &path)
{
    if (busyReading())
        return;
    m_loading = Loading::Scan;
    m_loadingSide = side;
    m_imageLoader.start({{path, ImageRequest()}});
}

void MainWindow::addSheetFromFile(ViewSide side, const QString &path)
{
    if (busyReading())
        return;
    m_loading = Loading::NewSheet;
    m_loadingSide = side;
    m_imageLoader.start({{path, ImageRequest()}});
}

void MainWindow::openProject(const QString &path)
{
    if (busyReading())
        return;
    m_files.openProject.fileName = path;
    // The whole file is read and checked before anything changes: a file that is refused leaves
    // the current job as it was, and only then is the user asked about unsaved stations.
    ProjectContents project = ProjectFile::read(path);
    const QByteArray digest = ProjectFile::digest(path);
    if (askToSaveChanges() == SurveyOutput::PromptResult::Cancelled)
        return;
    if (path != m_projects.lock().path() && !m_projects.hold(path))
        return;
    m_loadingProject = std::move(project);
    m_loadingPath = path;
    m_loadingDigest = digest;
    m_declined[0] = m_declined[1] = false;
    m_loading = Loading::Project;
    m_imageLoader.start(ProjectController::scanJobs(m_loadingProject, path)); // both scans at once
}

// A sheet shown (a tab chosen, an undo, a recovered job) whose scan is not held is read through
// the same background road as an opened scan: memory question, progress and Esc.
void MainWindow::readWantedScan()
{
    const auto wanted = m_document.scanWanted();
    const bool readingIt = m_loading == Loading::SheetScan && wanted && wanted->first == m_loadingSheet
        && wanted->second == m_loadingScan;
    if (m_loading == Loading::SheetScan && !readingIt && (!wanted || m_scansNotRead.contains(wanted->second))) {
        m_imageLoader.cancel(); // the sheet being read was put away
        m_loading = Loading::None;
        return;
    }
    // An open under way comes first; a sheet read for a sheet put away gives way (start cancels it).
    if (!wanted || readingIt || m_scansNotRead.contains(wanted->second)
        || (m_loading != Loading::None && m_loading != Loading::SheetScan))
        return;
    if (!QFileInfo::exists(wanted->second.path)) {
        m_scansNotRead.append(wanted->second);
        const ViewSide side = m_document.sheet(wanted->first).kind == SheetKind::Plan ? ViewSide::Plan : ViewSide::Profile;
        dialogs().message(this, QStringLiteral("Speomark"), ImageMessages::scanMissing(side, wanted->second.path),
                          MessageIcon::Error);
        return;
    }
    m_loading = Loading::SheetScan;
    m_loadingSheet = wanted->first;
    m_loadingScan = wanted->second;
    m_loadingSide = m_document.sheet(wanted->first).kind == SheetKind::Plan ? ViewSide::Plan : ViewSide::Profile;
    m_imageLoader.start(
        {{m_loadingScan.path, ImageRequest::again(m_loadingScan.pdfPage, m_loadingScan.pdfDotsPerInch)}});
}

void MainWindow::sheetScanRead(ImageRead::Problem problem)
{
    using Problem = ImageRead::Problem;
    const ImageRead &read = m_imageLoader.result(0);
    if (problem == Problem::NeedsConsent
        && dialogs().askYesNo(this, QStringLiteral("Speomark"), ImageMessages::askMemory(m_loadingSide, read))) {
        ImageRequest request = m_imageLoader.job(0).request;
        request.memoryAllowed = read.bytesNeeded;
        m_imageLoader.retry(0, request);
        return;
    }
    m_loading = Loading::None;
    const bool show = problem == Problem::None
        || (problem == Problem::Damaged
            && dialogs().askYesNo(this, QStringLiteral("Speomark"), ImageMessages::askDamaged(m_loadingSide, read)));
    if (show) {
        m_document.setSheetImage(m_loadingSheet, m_loadingScan, m_imageLoader.takeResult(0).image);
    } else {
        m_scansNotRead.append(m_loadingScan);
        if (problem == Problem::NotReadable || problem == Problem::TooLarge)
            dialogs().message(this, QStringLiteral("Speomark"), ImageMessages::cannotRead(m_loadingSide, read),
                              MessageIcon::Error);
    }
    readWantedScan(); // the other pane's, if it waits too
}

void MainWindow::imagesRead()
{
    const Loading loading = m_loading;
    if (loading == Loading::SheetScan) {
        if (m_imageLoader.jobCount() >= 1)
            sheetScanRead(m_imageLoader.result(0).problem);
        return;
    }
    if (loading == Loading::Project) {
        projectScansRead();
        readWantedScan();
        return;
    }
    if (loading == Loading::None || m_imageLoader.jobCount() < 1)
        return;
    scanRead(m_imageLoader.result(0).problem);
}

// One scan read: for Open Plan/Profile, or a missing scan of a project found again.
void MainWindow::scanRead(ImageRead::Problem problem)
{
    const ViewSide side = m_loadingSide;
    const ImageRead &read = m_imageLoader.result(0);
    ImageRequest request = m_imageLoader.job(0).request;
    using Problem = ImageRead::Problem;
    switch (problem) {
    case Problem::Cancelled:
        break;
    case Problem::NeedsConsent:
        if (dialogs().askYesNo(this, QStringLiteral("Speomark"), ImageMessages::askMemory(side, read))) {
            request.memoryAllowed = read.bytesNeeded;
            m_imageLoader.retry(0, request);
            return;
        }
        break;
    case Problem::ChoosePage: {
        int page = 1;
        int dotsPerInch = ImageRequest::DefaultDotsPerInch;
        if (dialogs().choosePdfPage(this, read.path, read.pdfHighestDotsPerInch, &page, &dotsPerInch)) {
            request.pdfPage = page;
            request.dotsPerInch = dotsPerInch;
            m_imageLoader.retry(0, request);
            return;
        }
        break;
    }
    case Problem::Damaged:
        if (!dialogs().askYesNo(this, QStringLiteral("Speomark"), ImageMessages::askDamaged(side, read)))
            break;
        [[fallthrough]];
    case Problem::None: {
        const Loading loading = m_loading;
        m_loading = Loading::None;
        if (loading == Loading::Locate) {
            m_project.setScan(side, m_imageLoader.takeResult(0));
            locateNextScan();
            return;
        }
        const double oldScale = m_document.view(side).calibration.metresPerPixel;
        if (loading == Loading::NewSheet) {
            // A sheet of its own: its scale comes from its grid, no station moves.
            if (m_viewEditor.addSheet(side, m_imageLoader.takeResult(0)) == ViewEditor::Opened::OpenedWithoutScale)
                dialogs().message(this, QStringLiteral("Speomark"), ScaleCalibration::zeroPixelsRefusal(side),
                                  MessageIcon::None);
            return;
        }
        if (m_viewEditor.applyImage(side, m_imageLoader.takeResult(0)) == ViewEditor::Opened::OpenedWithoutScale)
            dialogs().message(this, QStringLiteral("Speomark"), ScaleCalibration::zeroPixelsRefusal(side),
                              MessageIcon::None);
        else
            offerRecalculation(side, oldScale);
        return;
    }
    case Problem::NotReadable:
    case Problem::TooLarge:
        dialogs().message(this, QStringLiteral("Speomark"), ImageMessages::cannotRead(side, read), MessageIcon::Error);
        break;
    }
    const bool locating = m_loading == Loading::Locate;
    m_loading = Loading::None;
    if (locating)
        locateNextScan();
    readWantedScan();
}

void MainWindow::projectScansRead()
{
    if (m_imageLoader.jobCount() < 2)
        return;
    using Problem = ImageRead::Problem;
    for (int i = 0; i < 2; ++i) {
        if (m_imageLoader.result(i).problem == Problem::Cancelled) { // the job stays as it was
            m_loading = Loading::None;
            if (!m_session.projectPath().isEmpty())
                m_projects.lock().take(m_session.projectPath(), nullptr);
            return;
        }
    }
    // Scans that need more memory than is taken without asking: read again if the user agrees.
    bool retried = false;
    for (int i = 0; i < 2; ++i) {
        const ImageRead &read = m_imageLoader.result(i);
        if (read.problem != Problem::NeedsConsent || m_declined[i])
            continue;
        const ViewSide side = i == 0 ? ViewSide::Plan : ViewSide::Profile;
        if (dialogs().askYesNo(this, QStringLiteral("Speomark"), ImageMessages::askMemory(side, read))) {
            ImageRequest request = m_imageLoader.job(i).request;
            request.memoryAllowed = read.bytesNeeded;
            m_imageLoader.retry(i, request);
            retried = true;
        } else {
            m_declined[i] = true;
        }
    }
    if (retried)
        return;
    ImageRead scans[2] = {m_imageLoader.takeResult(0), m_imageLoader.takeResult(1)};
    for (int i = 0; i < 2; ++i) {
        const ViewSide side = i == 0 ? ViewSide::Plan : ViewSide::Profile;
        if (scans[i].problem == Problem::Damaged
            && !dialogs().askYesNo(this, QStringLiteral("Speomark"), ImageMessages::askDamaged(side, scans[i])))
            scans[i].image = QImage();
    }
    const ProjectContents project = std::move(m_loadingProject);
    const ProjectController::Opened opened = m_project.open(project, m_loadingPath, std::move(scans[0]), std::move(scans[1]));
    m_loading = Loading::None; // only now: a scan the project could not open is not read again on the way
    m_projects.newJob(m_loadingPath, false, m_loadingDigest);
    showNewJobsText();
    WindowMenus::rememberProject(m_loadingPath);
    if (!project.extrasProblem.isEmpty())
        dialogs().message(this, QStringLiteral("Speomark"), project.extrasProblem, MessageIcon::Information);
    if (!project.detailsProblem().isEmpty())
        dialogs().message(this, QStringLiteral("Speomark"), project.detailsProblem(), MessageIcon::Information);
    if (!project.projectionProblem().isEmpty())
        dialogs().message(this, QStringLiteral("Speomark"), project.projectionProblem(), MessageIcon::Information);
    if (!project.dimensionsProblem().isEmpty())
        dialogs().message(this, QStringLiteral("Speomark"), project.dimensionsProblem(), MessageIcon::Information);
    projectOpened(opened);
}

void MainWindow::projectOpened(const ProjectController::Opened &opened)
{
    m_toLocate.clear();
    const struct
    {
        ViewSide side;
        bool missing;
        const ProjectController::Scan &scan;
        const char *plainMessage;
    } sides[] = {{ViewSide::Plan, opened.planImageMissing, opened.plan, QT_TR_NOOP("Problems opening the Plan image!")},
                 {ViewSide::Profile, opened.profileImageMissing, opened.profile,
                  QT_TR_NOOP("Problems opening the Profile image!")}};
    for (const auto &side : sides) {
        if (!side.missing)
            continue;
        m_scansNotRead.append(m_document.view(side.side).scan()); // said here, not read again
        if (side.scan.message.isEmpty()) // the project names no scan for this view
            dialogs().message(this, QStringLiteral("Speomark"), tr(side.plainMessage), MessageIcon::None);
        else if (side.scan.fileMissing)
            m_toLocate.append({side.side, side.scan.message});
        else
            dialogs().message(this, QStringLiteral("Speomark"), side.scan.message, MessageIcon::Error);
    }
    locateNextScan();
}

// A project's scan that is not where the project says: the user may point to it.
void MainWindow::locateNextScan()
{
    while (!m_toLocate.isEmpty()) {
        const auto [side, message] = m_toLocate.takeFirst();
        if (!dialogs().offerToLocate(this, QStringLiteral("Speomark"), message))
            continue;
        FileDialog &dialog = m_files.image(side);
        if (!dialogs().execute(this, dialog))
            continue;
        m_loading = Loading::Locate;
        m_loadingSide = side;
        m_imageLoader.start({{dialog.fileName, ImageRequest()}});
        return; // the rest when this one has been read
    }
}
