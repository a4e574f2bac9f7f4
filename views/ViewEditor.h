#pragma once

#include "views/ImageFile.h"
#include "views/ZoomPan.h"

#include <QString>

class EditHistory;
class EditSession;
class SurveyDocument;
enum class ViewSide;

// What the view strip and the panes do to a view: open a scan, zoom, pan, show and shift the grid,
// and the grid entries as they are typed.
class ViewEditor
{
public:
    enum class Opened { Nothing, Opened, OpenedWithoutScale };

    ViewEditor(SurveyDocument &document, EditSession &session, EditHistory *history = nullptr);

    // Reads the scan into the view at zoom 1 and takes the scale from the grid entries
    // (OpenedWithoutScale when they give none: the lower panel is then disabled). A file that
    // cannot be opened without asking the user (not readable, damaged, too large) changes nothing
    // and throws the message naming it; a PDF shows its first page at 300 dpi.
    Opened openImage(ViewSide side, const QString &path);
    // The same with a scan already decoded (ImageLoader), from read.path.
    Opened applyImage(ViewSide side, ImageRead read);

    // The zoom buttons: false when the zoom is at its bound and stays. The caller then keeps the
    // middle of the box in place (ZoomPan::scrollAfterZoomIn/Out).
    bool zoomIn(ViewSide side);
    bool zoomOut(ViewSide side);
    // A mouse release: Ctrl+click zooms. The zoom goes into the document; the caller scrolls the
    // pane to the scroll position returned.
    ZoomPan::PaneView release(ViewSide side, QPoint scroll, QSize box, Qt::MouseButton button,
                              Qt::KeyboardModifiers modifiers, QPoint at);

    // The wheel or a pinch at a point of the box; the caller scrolls to the position returned.
    ZoomPan::PaneView zoomAt(ViewSide side, double factor, QPoint cursor, QPoint scroll, QSize box);
    // Zoom 1, the middle of the box kept.
    ZoomPan::PaneView actualSize(ViewSide side, QPoint scroll, QSize box);

    // Sheets, each edit one undoable step: a new sheet on that side showing the scan read; a
    // sheet renamed; a sheet taken away with the stations placed on it (never the last sheet of
    // its kind: that throws CommandError saying so).
    Opened addSheet(ViewSide side, ImageRead read);
    void renameSheet(int sheet, const QString &name);
    void removeSheet(int sheet);
    // The stations with a point on that sheet.
    int stationsOn(int sheet) const;

    void setGridShown(ViewSide side, bool shown);
    void setGridShift(ViewSide side, int right, int up);
    void setGridEntries(ViewSide side, const QString &metres, const QString &pixels);

private:
    bool setZoom(ViewSide side, double zoom);

    SurveyDocument &m_document;
    EditSession &m_session;
    EditHistory *m_history;
};
