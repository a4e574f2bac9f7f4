#include "project/ProjectController.h"

#include "survey/LabelSeries.h"

#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "project/ProjectFile.h"
#include "views/ImageFile.h"
#include "views/ImageMessages.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

ProjectController::ProjectController(SurveyDocument &document, EditSession &session)
    : m_document(document), m_session(session)
{
}

QList<ImageJob> ProjectController::scanJobs(const ProjectContents &project, const QString &path)
{
    QList<ImageJob> jobs;
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        const ProjectContents::ScanPage page = project.scanPage(side);
        ImageJob job;
        job.path = project.scanPath(side, path);
        job.request.pdfPage = page.page > 0 ? page.page : 1;
        job.request.dotsPerInch = page.dotsPerInch > 0 ? page.dotsPerInch : ImageRequest::DefaultDotsPerInch;
        jobs.append(job);
    }
    return jobs;
}

ProjectController::Opened ProjectController::open(const ProjectContents &project, const QString &path)
{
    // Both scans at once, on two cores; nothing here can ask the user, so a scan that needs a
    // question is not opened and says why.
    ImageLoader loader;
    const QList<ImageJob> jobs = scanJobs(project, path);
    QList<ImageJob> toRead;
    for (const ImageJob &job : jobs)
        if (!job.path.isEmpty())
            toRead.append(job);
    loader.start(toRead);
    loader.waitForFinished();
    ImageRead reads[2];
    for (int i = 0, next = 0; i < 2; ++i)
        if (!jobs[i].path.isEmpty())
            reads[i] = loader.takeResult(next++);
    for (ImageRead &read : reads)
        if (read.problem == ImageRead::Problem::Damaged)
            read.image = QImage();
    return open(project, path, std::move(reads[0]), std::move(reads[1]));
}

void ProjectController::openWithoutScans(const ProjectContents &project, const QString &path)
{
    ChangeBatch batch(m_document, m_session);
    open(project, path, ImageRead(), ImageRead());
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        const QString scan = project.scanPath(side, path);
        const ProjectContents::ScanPage page = project.scanPage(side);
        m_document.editView(side, [&](ViewSettings &view) {
            view.imagePath = scan;
            view.pdfPage = page.page;
            view.pdfDotsPerInch = page.dotsPerInch;
        });
    }
}

ProjectController::Opened ProjectController::open(const ProjectContents &project, const QString &path, ImageRead plan,
                                                  ImageRead profile)
{
    ChangeBatch batch(m_document, m_session);
    // Texts parked for the pending station in Move mode live in the table being replaced.
    const bool moving = m_session.moving();
    const StationTable &old = m_document.stations();
    const QString parkedLabel = moving && old.hasPending() ? old.pending().label : m_session.parkedLabel();
    const QString parkedComment = moving && old.hasPending() ? old.pending().comment : m_session.parkedComment();

    project.applyTo(m_document, path);
    const StationTable &table = m_document.stations();

    // The pending points belonged to the job just replaced; its entry is empty now.
    m_session.setPointPlaced(ViewSide::Plan, false);
    m_session.setPointPlaced(ViewSide::Profile, false);
    if (moving) {
        if (table.hasPending()) {
            m_document.editStations([&](StationTable &t) {
                t.pending().label = fittedLabel(parkedLabel);
                t.pending().comment = fittedComment(parkedComment);
            });
        } else {
            m_session.setParked(parkedLabel, parkedComment);
        }
        if (!table.isEmpty()) {
            // The selection refers to the new table: start again from its last station.
            m_session.setSelected(table.count() - 1);
            const Station &selected = table.at(table.count() - 1);
            m_session.setEntries(selected.label, selected.comment);
        } else {
            // Nothing left to edit: back to Add mode, with the parked texts.
            m_session.setMode(EditMode::Add);
            m_session.setAddModeEntered(true);
            m_session.setAddEnabled(false);
            if (table.hasPending())
                m_session.setEntries(table.pending().label, table.pending().comment);
            else
                m_session.setEntries(m_session.parkedLabel(), m_session.parkedComment());
        }
    } else {
        m_session.setAddEnabled(false);
        // A resumed job goes on along its last branch: the next station joins it unless the user
        // ticks "New branch", which is offered where a branch may start.
        m_session.setNewBranchChecked(false);
        m_session.setNewBranchEnabled(table.canStartBranch());
        // Resuming proposes the next label of the series, as adding a station does.
        if (const QString next = LabelSeries::proposed(table); !next.isEmpty())
            m_session.setEntries(next, m_session.commentEntry());
    }
    // A scale in force was fixed with "OK": its grid entries come back locked.
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
        m_session.setGridLocked(side, m_document.view(side).calibration.metresPerPixel != 0.0);

    // An image that cannot be read leaves its pane empty rather than showing the previous job's
    // drawing under these stations; the other image is shown all the same.
    Opened opened;
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        ImageRead &read = side == ViewSide::Plan ? plan : profile;
        const QString imagePath = read.path.isEmpty() ? project.scanPath(side, path) : read.path;
        const bool loaded = !imagePath.isEmpty() && !read.image.isNull();
        Scan &scan = side == ViewSide::Plan ? opened.plan : opened.profile;
        scan.path = imagePath;
        scan.problem = read.problem;
        if (!loaded && !imagePath.isEmpty()) {
            scan.fileMissing = !QFileInfo::exists(imagePath);
            scan.message = scan.fileMissing ? ImageMessages::scanMissing(side, imagePath)
                                            : ImageMessages::cannotRead(side, read);
        }
        m_document.editView(side, [&](ViewSettings &view) {
            view.image = loaded ? std::move(read.image) : QImage();
            if (loaded) {
                view.imagePath = imagePath;
                view.pdfPage = read.pdfPage;
                view.pdfDotsPerInch = read.dotsPerInch;
            }
        });
        (side == ViewSide::Plan ? opened.planImageMissing : opened.profileImageMissing) = !loaded;
    }
    return opened;
}

void ProjectController::setScan(ViewSide side, ImageRead read)
{
    m_document.editView(side, [&](ViewSettings &view) {
        view.image = std::move(read.image);
        view.imagePath = read.path;
        view.pdfPage = read.pdfPage;
        view.pdfDotsPerInch = read.dotsPerInch;
    });
}

void ProjectController::saveAs(const QString &path) const
{
    ProjectContents contents = ProjectContents::capture(m_document);
    contents.rememberScansRelativeTo(path);
    ProjectFile::write(path, contents);
}

void ProjectController::close()
{
    ChangeBatch batch(m_document, m_session);
    m_document.editStations([](StationTable &table) { table.clear(); });
    // The cleared pending point must not stay "placed" at (0, 0), where one click could add it.
    m_session.setPointPlaced(ViewSide::Plan, false);
    m_session.setPointPlaced(ViewSide::Profile, false);
    m_session.setAddEnabled(false);
    m_document.setModified(false);
    m_session.setDataFileName(QString());
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        m_document.editView(side, [](ViewSettings &view) {
            view.zoom = 1.0;
            view.gridShiftRight = 0;
            view.gridShiftUp = 0;
        });
    }
    m_session.setMode(EditMode::Add);
    m_session.setAddModeEntered(true);
}
