#include "views/ui/PaneArea.h"

#include "survey/Truncate.h"
#include "document/SurveyDocument.h"
#include "views/ui/ImagePane.h"
#include "views/ui/ViewStrip.h"
#include "widgets/PaneSplitter.h"
#include "widgets/Panel.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <algorithm>
#include <cmath>

namespace {

QScrollArea *paneScrollBox(QWidget *parent, ImagePane *&pane, const QString &name)
{
    auto *box = new QScrollArea(parent);
    box->setWidgetResizable(false);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setFrameShape(QFrame::StyledPanel);
    box->setFrameShadow(QFrame::Sunken);
    box->setAccessibleName(QCoreApplication::translate("MainWindow", "%1 drawing, scrolled").arg(name));
    pane = new ImagePane;
    pane->setAccessibleName(name);
    pane->resize(0, 0);
    box->setWidget(pane);
    return box;
}

} // namespace

PaneArea::PaneArea(int initialWidth, QWidget *parent) : QGroupBox(parent)
{
    stripPanel = new Panel(this);
    stripPanel->setCaption(QCoreApplication::translate("MainWindow", "Plan   /   Profile"));
    stripPanel->setGeometry(FrameBorder, FrameBorder, initialWidth - 2 * FrameBorder, StripHeight);
    planStrip = new ViewStrip(ViewSide::Plan, stripPanel);
    profileStrip = new ViewStrip(ViewSide::Profile, stripPanel);
    planScroll = paneScrollBox(this, planPane, QCoreApplication::translate("MainWindow", "Plan"));
    profileScroll = paneScrollBox(this, profilePane, QCoreApplication::translate("MainWindow", "Profile"));
    planScroll->resize(431, planScroll->height());
    splitter = new PaneSplitter(this);
    splitter->setAccessibleName(QCoreApplication::translate("MainWindow", "Plan / Profile"));
    m_tabs[0] = makeTabs(ViewSide::Plan);
    m_tabs[1] = makeTabs(ViewSide::Profile);
    connect(splitter, &PaneSplitter::dragged, this, [this](int leftWidth) {
        planScroll->resize(leftWidth, planScroll->height());
        layoutPanes();
    });
    connect(splitter, &PaneSplitter::moved, this, [this] {
        const int plan = planScroll->width();
        const int profile = profileScroll->width();
        if (plan + profile > 0)
            emit paneFractionsChanged(float(double(plan) / double(plan + profile)),
                                      float(double(profile) / double(plan + profile)));
    });
}

QTabBar *PaneArea::makeTabs(ViewSide side)
{
    auto *tabs = new QTabBar(this);
    tabs->setAccessibleName(side == ViewSide::Plan ? QCoreApplication::translate("MainWindow", "Plan sheets")
                                                   : QCoreApplication::translate("MainWindow", "Profile sheets"));
    tabs->setExpanding(false);
    tabs->setDrawBase(false);
    tabs->setContextMenuPolicy(Qt::CustomContextMenu);
    tabs->hide();
    connect(tabs, &QTabBar::tabBarClicked, this, [this, side, tabs](int index) {
        if (index >= 0)
            emit sheetChosen(side, tabs->tabData(index).toInt());
    });
    connect(tabs, &QTabBar::tabBarDoubleClicked, this, [this, tabs](int index) {
        if (index >= 0)
            emit sheetRenameAsked(tabs->tabData(index).toInt());
    });
    connect(tabs, &QWidget::customContextMenuRequested, this, [this, tabs](QPoint at) {
        const int index = tabs->tabAt(at);
        if (index < 0)
            return;
        const int sheet = tabs->tabData(index).toInt();
        QMenu menu;
        menu.addAction(QCoreApplication::translate("MainWindow", "Rename Sheet..."), this,
                       [this, sheet] { emit sheetRenameAsked(sheet); });
        menu.addAction(QCoreApplication::translate("MainWindow", "Remove Sheet"), this,
                       [this, sheet] { emit sheetRemoveAsked(sheet); });
        menu.exec(tabs->mapToGlobal(at));
    });
    return tabs;
}

ViewStrip *PaneArea::strip(ViewSide side) const
{
    return side == ViewSide::Plan ? planStrip : profileStrip;
}

ImagePane *PaneArea::pane(ViewSide side) const
{
    return side == ViewSide::Plan ? planPane : profilePane;
}

QScrollArea *PaneArea::scrollBox(ViewSide side) const
{
    return side == ViewSide::Plan ? planScroll : profileScroll;
}

QPoint PaneArea::scrollPosition(ViewSide side) const
{
    const QScrollArea *box = scrollBox(side);
    return QPoint(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value());
}

void PaneArea::scrollTo(ViewSide side, QPoint scroll)
{
    // The scroll bars clamp to 0 .. displayed extent - visible extent.
    QScrollArea *box = scrollBox(side);
    box->horizontalScrollBar()->setValue(scroll.x());
    box->verticalScrollBar()->setValue(scroll.y());
}

void PaneArea::centreOn(ViewSide side, QPointF source, double zoom)
{
    const QSize box = scrollBox(side)->viewport()->size();
    scrollTo(side, QPoint(truncToInt(source.x() * zoom) - box.width() / 2, truncToInt(source.y() * zoom) - box.height() / 2));
}

void PaneArea::bringIntoView(ViewSide side, QPointF source, double zoom)
{
    const double x = source.x() * zoom;
    const double y = source.y() * zoom;
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 1e9 || std::fabs(y) > 1e9)
        return;
    const QSize box = scrollBox(side)->viewport()->size();
    const int marginX = box.width() / 4, marginY = box.height() / 4;
    QPoint scroll = scrollPosition(side);
    const int px = truncToInt(x), py = truncToInt(y);
    if (px < scroll.x() + marginX || px > scroll.x() + box.width() - marginX)
        scroll.setX(px - box.width() / 2);
    if (py < scroll.y() + marginY || py > scroll.y() + box.height() - marginY)
        scroll.setY(py - box.height() / 2);
    if (scroll != scrollPosition(side))
        scrollTo(side, scroll);
}

ViewSide PaneArea::sideUnderCursor(ViewSide otherwise) const
{
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        const QScrollArea *box = scrollBox(side);
        if (box->rect().contains(box->mapFromGlobal(QCursor::pos())))
            return side;
    }
    return otherwise;
}

void PaneArea::showSheets(ViewSide side, const QList<QPair<int, QString>> &sheets, int shown)
{
    QTabBar *tabs = m_tabs[int(side)];
    const QSignalBlocker quiet(tabs);
    for (int i = 0; i < int(sheets.size()); ++i) {
        if (i >= tabs->count())
            tabs->addTab(QString());
        tabs->setTabText(i, sheets[i].second);
        tabs->setTabData(i, sheets[i].first);
        if (sheets[i].first == shown)
            tabs->setCurrentIndex(i);
    }
    while (tabs->count() > int(sheets.size()))
        tabs->removeTab(tabs->count() - 1);
    const bool wanted = sheets.size() > 1;
    const bool relayout = wanted != tabs->isVisibleTo(this);
    tabs->setVisible(wanted);
    if (relayout)
        layoutPanes();
}

void PaneArea::setPaneFractions(float plan, float profile)
{
    m_fractions[0] = plan;
    m_fractions[1] = profile;
}

void PaneArea::arrange(int windowWidth)
{
    const int stripWidth = std::max(0, width() - 2 * FrameBorder);
    stripPanel->setGeometry(FrameBorder, FrameBorder, stripWidth, StripHeight);
    // The profile's controls keep their distance from the right edge.
    profileStrip->move(stripWidth - ViewStrip::ProfileStripWidth, 0);
    const double room = double(windowWidth) - 20.0;
    const auto share = [&](int side) { return std::max(0, truncToInt(room * double(m_fractions[side]))); };
    planScroll->resize(share(0), planScroll->height());
    // The profile pane takes whatever is left; its own width matters only through that.
    profileScroll->resize(share(1), profileScroll->height());
    layoutPanes();
}

void PaneArea::layoutPanes()
{
    // Both panes go down by a tab's height when either has tabs, so they stay level.
    const bool tabs = !m_tabs[0]->isHidden() || !m_tabs[1]->isHidden();
    const int tabHeight = tabs ? m_tabs[0]->sizeHint().height() : 0;
    const int tabsTop = FrameBorder + StripHeight + 1;
    const int top = tabsTop + tabHeight;
    const int paneHeight = std::max(0, height() - top - FrameBorder);
    const int room = std::max(0, width() - 2 * PaneInset);
    const int leftWidth = std::clamp(planScroll->width(), 0, std::max(0, room - PaneSplitter::Thickness));
    planScroll->setGeometry(PaneInset, top, leftWidth, paneHeight);
    splitter->setGeometry(PaneInset + leftWidth, top, PaneSplitter::Thickness, paneHeight);
    const int rightWidth = std::max(0, room - leftWidth - PaneSplitter::Thickness);
    profileScroll->setGeometry(PaneInset + leftWidth + PaneSplitter::Thickness, top, rightWidth, paneHeight);
    splitter->setPaneRoom(leftWidth, leftWidth + rightWidth);
    m_tabs[0]->setGeometry(PaneInset, tabsTop, leftWidth, tabHeight);
    m_tabs[1]->setGeometry(PaneInset + leftWidth + PaneSplitter::Thickness, tabsTop, rightWidth, tabHeight);
}
