#include "views/ViewEditor.h"

#include "survey/CommandError.h"
#include "document/EditHistory.h"
#include "document/SurveyDocument.h"
#include "views/ScaleCalibration.h"
#include "views/ImageMessages.h"

#include <QCoreApplication>
#include <limits>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ViewEditor)
};

} // namespace

ViewEditor::ViewEditor(SurveyDocument &document, EditSession &session, EditHistory *history)
    : m_document(document), m_session(session), m_history(history)
{
}

ViewEditor::Opened ViewEditor::openImage(ViewSide side, const QString &path)
{
    // Nothing can be asked here: a PDF shows its first page at the usual resolution, and a file
    // that would need a question is refused with the reason.
    ImageRequest request;
    request.pdfPage = 1;
    ImageRead read = ImageFile::read(path, request);
    if (!read.ok())
        throw CommandError(ImageMessages::cannotRead(side, read));
    return applyImage(side, std::move(read));
}

ViewEditor::Opened ViewEditor::applyImage(ViewSide side, ImageRead read)
{
    const QString path = read.path;
    ChangeBatch batch(m_document, m_session);
    Opened opened = Opened::Opened;
    const QString name = side == ViewSide::Plan ? Words::tr("Open Plan Image") : Words::tr("Open Profile Image");
    recordEdit(m_history, name, [&] {
        m_document.editView(side, [&](ViewSettings &view) {
            view.image = std::move(read.image);
            view.imagePath = path;
            view.pdfPage = read.pdfPage;
            view.pdfDotsPerInch = read.dotsPerInch;
            view.zoom = 1.0;
        });
        if (!ScaleCalibration(m_document, m_session).takeScaleFromEntries(side))
            opened = Opened::OpenedWithoutScale;
    });
    return opened;
}

ViewEditor::Opened ViewEditor::addSheet(ViewSide side, ImageRead read)
{
    const SheetKind kind = SurveyDocument::kindOf(side);
    Opened opened = Opened::Opened;
    recordEdit(m_history, kind == SheetKind::Plan ? Words::tr("Add Plan Sheet") : Words::tr("Add Profile Sheet"), [&] {
        m_document.showSheet(side, m_document.addSheet(kind));
        // A new sheet has its own scale: none until its grid is set.
        m_session.setGridLocked(side, false);
        opened = applyImage(side, std::move(read));
    });
    return opened;
}

void ViewEditor::renameSheet(int sheet, const QString &name)
{
    recordEdit(m_history, Words::tr("Rename Sheet"), [&] { m_document.renameSheet(sheet, name.trimmed()); });
}

int ViewEditor::stationsOn(int sheet) const
{
    int count = 0;
    const StationTable &table = m_document.stations();
    for (int i = 0; i < table.count(); ++i)
        count += table.at(i).planSheet == sheet || table.at(i).profileSheet == sheet;
    return count;
}

void ViewEditor::removeSheet(int sheet)
{
    const ViewSettings &removed = m_document.sheet(sheet);
    if (removed.id != sheet)
        return;
    if (m_document.sheetsOf(removed.kind).size() < 2)
        throw CommandError(removed.kind == SheetKind::Plan ? Words::tr("The last plan sheet cannot be removed.")
                                                           : Words::tr("The last profile sheet cannot be removed."));
    recordEdit(m_history, Words::tr("Remove Sheet %1").arg(m_document.sheetName(sheet)), [&] {
        // Its stations go with it, the last first so the others keep their places.
        const StationTable &table = m_document.stations();
        for (int i = table.count() - 1; i >= 0; --i)
            if (table.at(i).planSheet == sheet || table.at(i).profileSheet == sheet)
                m_document.removeStation(i);
        // No leg may now run from one sheet to another: a traverse ends where its sheet does.
        for (int i = 1; i < table.count(); ++i) {
            const Station &before = table.at(i - 1);
            if (table.hasLegBefore(i)
                && (before.planSheet != table.at(i).planSheet || before.profileSheet != table.at(i).profileSheet)) {
                Station ending = before;
                ending.branchEnd = true;
                m_document.setStation(i - 1, ending);
            }
        }
        m_document.removeSheet(sheet);
        m_document.setModified(true);
    });
}

bool ViewEditor::setZoom(ViewSide side, double zoom)
{
    const bool changes = zoom != m_document.view(side).zoom;
    m_document.editView(side, [&](ViewSettings &settings) { settings.zoom = zoom; });
    return changes;
}

bool ViewEditor::zoomIn(ViewSide side)
{
    return setZoom(side, ZoomPan::zoomedIn(m_document.view(side).zoom));
}

bool ViewEditor::zoomOut(ViewSide side)
{
    return setZoom(side, ZoomPan::zoomedOut(m_document.view(side).zoom));
}

ZoomPan::PaneView ViewEditor::release(ViewSide side, QPoint scroll, QSize box, Qt::MouseButton button,
                                      Qt::KeyboardModifiers modifiers, QPoint at)
{
    const ZoomPan::PaneView view =
        ZoomPan::afterRelease({m_document.view(side).zoom, scroll, box}, at, button, modifiers);
    setZoom(side, view.zoom);
    return view;
}

ZoomPan::PaneView ViewEditor::zoomAt(ViewSide side, double factor, QPoint cursor, QPoint scroll, QSize box)
{
    const ZoomPan::PaneView view = ZoomPan::zoomAt({m_document.view(side).zoom, scroll, box}, factor, cursor);
    setZoom(side, view.zoom);
    return view;
}

ZoomPan::PaneView ViewEditor::actualSize(ViewSide side, QPoint scroll, QSize box)
{
    const double zoom = m_document.view(side).zoom;
    return zoomAt(side, zoom > 0.0 ? 1.0 / zoom : 1.0, QPoint(box.width() / 2, box.height() / 2), scroll, box);
}

void ViewEditor::setGridShown(ViewSide side, bool shown)
{
    m_document.editView(side, [&](ViewSettings &view) { view.gridShown = shown; });
}

void ViewEditor::setGridShift(ViewSide side, int right, int up)
{
    m_document.editView(side, [&](ViewSettings &view) {
        view.gridShiftRight = right;
        view.gridShiftUp = up;
    });
}

void ViewEditor::setGridEntries(ViewSide side, const QString &metres, const QString &pixels)
{
    m_document.setGridEntries(side, metres, pixels);
}
