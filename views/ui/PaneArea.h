#pragma once

#include <QGroupBox>
#include <QList>
#include <QPair>
#include <QPoint>
#include <QPointF>

class ImagePane;
class PaneSplitter;
class Panel;
class QScrollArea;
class QTabBar;
class ViewStrip;
enum class ViewSide;

// The window's upper part: the strip with both views' controls, a tab a sheet above each pane
// once it has more than one, the two scrolled drawings and the bar between them. It lays itself
// out and scrolls; what the drawings show and what a tab means are the window's business.
class PaneArea : public QGroupBox
{
    Q_OBJECT
public:
    static constexpr int StripHeight = 33;
    static constexpr int FrameBorder = 2; // around the strip
    static constexpr int PaneInset = 6;   // on each side: both panes + splitter = width - 12

    PaneArea(int initialWidth, QWidget *parent);

    ViewStrip *strip(ViewSide side) const;
    ImagePane *pane(ViewSide side) const;
    QScrollArea *scrollBox(ViewSide side) const;
    QPoint scrollPosition(ViewSide side) const;
    void scrollTo(ViewSide side, QPoint scroll);
    // The drawing centred on a point given in source pixels of a drawing shown at `zoom`.
    void centreOn(ViewSide side, QPointF source, double zoom);
    // Scrolled just enough to bring the point into view, a quarter of the box from its edges.
    void bringIntoView(ViewSide side, QPointF source, double zoom);
    // The pane under the mouse pointer; `otherwise` when it is over neither.
    ViewSide sideUnderCursor(ViewSide otherwise) const;

    // The tabs of one pane: sheet ids with their names, and the one shown.
    void showSheets(ViewSide side, const QList<QPair<int, QString>> &sheets, int shown);
    // The panes' shares of the window's width, kept when the window is resized.
    void setPaneFractions(float plan, float profile);
    // After the area itself was resized: the strip, then the panes by their shares.
    void arrange(int windowWidth);

    Panel *stripPanel = nullptr;
    ViewStrip *planStrip = nullptr;
    ViewStrip *profileStrip = nullptr;
    QScrollArea *planScroll = nullptr;
    QScrollArea *profileScroll = nullptr;
    ImagePane *planPane = nullptr;
    ImagePane *profilePane = nullptr;
    PaneSplitter *splitter = nullptr;

signals:
    void sheetChosen(ViewSide side, int sheet);
    void sheetRenameAsked(int sheet);
    void sheetRemoveAsked(int sheet);
    // The bar was moved: the panes' new shares of their room.
    void paneFractionsChanged(float plan, float profile);

private:
    void layoutPanes();
    QTabBar *makeTabs(ViewSide side);

    QTabBar *m_tabs[2] = {nullptr, nullptr};
    float m_fractions[2] = {0.5f, 0.5f};
};
