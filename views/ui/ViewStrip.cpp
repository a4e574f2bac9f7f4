#include "views/ui/ViewStrip.h"

#include "widgets/NumberField.h"

#include "document/SurveyDocument.h"
#include "widgets/Controls.h"

using namespace Controls;

namespace {

UpDown *gridShifter(QWidget *parent, Qt::Orientation orientation, const QString &accessibleName, int left, int top,
                    int width, int height)
{
    auto *spinner = place(new UpDown(orientation, parent), left, top, width, height);
    spinner->setRange(-GridShiftLimit, GridShiftLimit);
    spinner->setPosition(0);
    spinner->setToolTip(ViewStrip::tr("grid shift"));
    spinner->setAccessibleName(accessibleName);
    return spinner;
}

// Where each control sits, from the strip's left edge.
struct StripLayout
{
    int open, gridCheck, metres, metresLabel, pixels, pixelsWidth, pixelsLabel, ok, okWidth, shiftRight, shiftUp,
        zoomOut, zoomIn;
};
constexpr StripLayout PlanLayout{8, 40, 128, 160, 176, 33, 208, 240, 49, 296, 328, 352, 376};
constexpr StripLayout ProfileLayout{365, 112, 200, 232, 248, 30, 280, 312, 45, 69, 53, 0, 24};

} // namespace

ViewStrip::ViewStrip(ViewSide side, QWidget *parent) : QWidget(parent)
{
    const bool plan = side == ViewSide::Plan;
    const StripLayout &at = plan ? PlanLayout : ProfileLayout;
    // Whole sentences per view, so a translation can put the words in its own order.
    openButton =
        speedButton(this, Glyphs::openFolder(), plan ? tr("Open Plan (Left Image)") : tr("Open Profile (Right Image)"),
                    at.open, 8, 23, 22);
    openButton->setIconSize(QSize(22, 21));
    gridCheck = checkBox(this, tr("Grid every"), true, at.gridCheck, 16, 89, 17);
    gridCheck->setAccessibleName(plan ? tr("Show the grid on the plan") : tr("Show the grid on the profile"));
    gridMetresEdit = edit(this, QStringLiteral("10"),
                          plan ? tr("Plan grid cell, metres") : tr("Profile grid cell, metres"), at.metres, 8, 33, 21);
    metresLabel = label(this, tr("m"), at.metresLabel, 16);
    gridPixelsEdit =
        edit(this, QStringLiteral("50"), plan ? tr("Plan grid cell, pixels") : tr("Profile grid cell, pixels"),
             at.pixels, 8, at.pixelsWidth, 21);
    pixelsLabel = label(this, tr("pixels"), at.pixelsLabel, 16);
    gridOkButton = pushButton(this, tr("OK"), at.ok, 8, at.okWidth, 25);
    // The caption reads "OK" or "Change"; the name says whose scale it sets.
    gridOkButton->setAccessibleName(plan ? tr("Set or change the plan scale") : tr("Set or change the profile scale"));
    gridShiftRight =
        gridShifter(this, Qt::Horizontal, plan ? tr("Plan grid shift right") : tr("Profile grid shift right"),
                    at.shiftRight, 8, 33, 17);
    gridShiftUp = gridShifter(this, Qt::Vertical, plan ? tr("Plan grid shift up") : tr("Profile grid shift up"),
                              at.shiftUp, 0, 17, 33);
    if (!plan)
        gridShiftRight->raise(); // the two up-downs overlap by a pixel; the horizontal one is in front
    zoomOutButton = speedButton(this, Glyphs::zoomOut(), plan ? tr("Plan zoom out") : tr("Profile zoom out"),
                                at.zoomOut, 8, 23, 22);
    zoomInButton =
        speedButton(this, Glyphs::zoomIn(), plan ? tr("Plan zoom in") : tr("Profile zoom in"), at.zoomIn, 8, 23, 22);
    resize(plan ? at.zoomIn + 24 : ProfileStripWidth, 33);

    connect(openButton, &QToolButton::clicked, this, &ViewStrip::openClicked);
    connect(zoomInButton, &QToolButton::clicked, this, &ViewStrip::zoomInClicked);
    connect(zoomOutButton, &QToolButton::clicked, this, &ViewStrip::zoomOutClicked);
    connect(gridCheck, &QCheckBox::toggled, this, &ViewStrip::gridShownClicked);
    connect(gridOkButton, &QPushButton::clicked, this, &ViewStrip::gridOkClicked);
    m_metresField = new NumberField(gridMetresEdit, gridMetresEdit->accessibleName());
    m_pixelsField = new NumberField(gridPixelsEdit, gridPixelsEdit->accessibleName());
    for (NumberField *field : {m_metresField, m_pixelsField}) {
        connect(field, &NumberField::accepted, this,
                [this] { emit gridEntriesEdited(m_metresField->value(), m_pixelsField->value()); });
        connect(field, &NumberField::refused, this, &ViewStrip::entryRefused);
    }
    for (UpDown *spinner : {gridShiftRight, gridShiftUp}) {
        // A press sets the step this very press takes: ten pixels with Ctrl held.
        connect(spinner, &UpDown::mouseDown, this, [spinner](Qt::MouseButton, Qt::KeyboardModifiers modifiers) {
            spinner->setIncrement(modifiers & Qt::ControlModifier ? 10 : 1);
        });
        connect(spinner, &UpDown::clicked, this,
                [this] { emit gridShifted(gridShiftRight->position(), gridShiftUp->position()); });
    }
}

void ViewStrip::shiftGrid(int right, int up)
{
    gridShiftRight->setPosition(gridShiftRight->position() + right); // clamped to the arrows' range
    gridShiftUp->setPosition(gridShiftUp->position() + up);
    emit gridShifted(gridShiftRight->position(), gridShiftUp->position());
}

void ViewStrip::showSettings(const ViewSettings &view, bool gridLocked)
{
    // Only the user's typing is reported, not what is shown here.
    const QSignalBlocker quietGrid(gridCheck);
    gridCheck->setChecked(view.gridShown);
    m_metresField->show(view.gridMetresEntry);
    m_pixelsField->show(view.gridPixelsEntry);
    gridMetresEdit->setEnabled(!gridLocked);
    gridPixelsEdit->setEnabled(!gridLocked);
    gridOkButton->setText(gridLocked ? tr("Change") : tr("OK"));
    gridShiftRight->setPosition(view.gridShiftRight);
    gridShiftUp->setPosition(view.gridShiftUp);
}

QString ViewStrip::takeGridRefusal()
{
    const QString metres = m_metresField->takeRefusal();
    const QString pixels = m_pixelsField->takeRefusal();
    return metres.isEmpty() ? pixels : metres;
}
