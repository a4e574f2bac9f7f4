#include "views/ScaleCalibration.h"

#include "document/EditHistory.h"
#include "survey/NumberText.h"
#include "document/SurveyDocument.h"
#include "survey/Limits.h"

#include <QCoreApplication>
#include <cmath>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ScaleCalibration)
};

ViewSide other(ViewSide side) { return side == ViewSide::Plan ? ViewSide::Profile : ViewSide::Plan; }

} // namespace

ScaleCalibration::ScaleCalibration(SurveyDocument &document, EditSession &session, EditHistory *history)
    : m_document(document), m_session(session), m_history(history)
{
}

// Metres and pixels per cell both above zero, and a scale a project can hold. Each entry is
// read again here, the pixels only when the metres passed, so a text that is not a number fails
// exactly where it is first needed.
bool ScaleCalibration::entriesValid(ViewSide side) const
{
    const ViewSettings &view = m_document.view(side);
    const double metresPerCell = NumberText::toDouble(view.gridMetresEntry);
    if (!(metresPerCell > 0.0))
        return false;
    const double pixelsPerCell = NumberText::toDouble(view.gridPixelsEntry);
    if (!(pixelsPerCell > 0.0))
        return false;
    const double scale = metresPerCell / pixelsPerCell;
    return scale > 0.0 && Limits::scaleAllowed(scale);
}

ScaleCalibration::Outcome ScaleCalibration::pressOkOrChange(ViewSide side)
{
    const bool plan = side == ViewSide::Plan;
    Outcome outcome = Outcome::Unlocked;
    if (m_session.gridLocked(side))
        recordEdit(m_history, plan ? Words::tr("Change Plan Scale") : Words::tr("Change Profile Scale"),
                   [&] { m_session.setGridLocked(side, false); });
    else
        recordEdit(m_history, plan ? Words::tr("Set Plan Scale") : Words::tr("Set Profile Scale"),
                   [&] { outcome = takeGridEntries(side); });
    return outcome;
}

ScaleCalibration::Outcome ScaleCalibration::calibrate(ViewSide side, double metres, double pixels)
{
    const QString name = side == ViewSide::Plan ? Words::tr("Measure Plan Scale") : Words::tr("Measure Profile Scale");
    // Hundredths of a pixel are as much as two clicks can tell.
    const double cell = std::round(pixels * 100.0) / 100.0;
    Outcome outcome = Outcome::Refused;
    recordEdit(m_history, name, [&] {
        m_session.setGridLocked(side, false);
        m_document.setGridEntries(side, NumberText::fromDouble(metres), NumberText::fromDouble(cell));
        outcome = takeGridEntries(side);
    });
    return outcome;
}

ScaleCalibration::Outcome ScaleCalibration::takeGridEntries(ViewSide side)
{
    const ViewSettings &view = m_document.view(side);
    const double gridPixels = NumberText::toDouble(view.gridPixelsEntry);
    m_document.editView(side, [&](ViewSettings &v) { v.calibration.gridPixels = gridPixels; });
    Outcome outcome = Outcome::Accepted;
    if (entriesValid(side)) {
        const double scale = NumberText::toDouble(view.gridMetresEntry) / NumberText::toDouble(view.gridPixelsEntry);
        m_document.editView(side, [&](ViewSettings &v) { v.calibration.metresPerPixel = scale; });
        if (entriesValid(other(side)))
            m_session.setLowerPanelEnabled(true);
    } else {
        m_session.setLowerPanelEnabled(false);
        outcome = Outcome::Refused;
    }
    m_session.setGridLocked(side, true);
    return outcome;
}

bool ScaleCalibration::takeScaleFromEntries(ViewSide side)
{
    // No number, a pixel count of zero or a quotient a project cannot hold (it could not be saved)
    // give no scale.
    const ViewSettings &view = m_document.view(side);
    double metresPerCell = 0.0;
    double pixelsPerCell = 0.0;
    if (NumberText::tryToDouble(view.gridMetresEntry, &metresPerCell)
        && NumberText::tryToDouble(view.gridPixelsEntry, &pixelsPerCell) && pixelsPerCell != 0.0) {
        const double quotient = metresPerCell / pixelsPerCell;
        if (Limits::scaleAllowed(quotient)) {
            m_document.editView(side, [&](ViewSettings &v) { v.calibration.metresPerPixel = quotient; });
            return true;
        }
    }
    m_session.setLowerPanelEnabled(false);
    return false;
}

QString ScaleCalibration::refusal(ViewSide side)
{
    return side == ViewSide::Plan ? Words::tr("Enter correct scale values for the Plan!")
                                  : Words::tr("Enter correct scale values for the Profile!");
}

QString ScaleCalibration::zeroPixelsRefusal(ViewSide side)
{
    return side == ViewSide::Plan ? Words::tr("The number of pixels for the Plan cannot be zero!")
                                  : Words::tr("The number of pixels for the Profile cannot be zero!");
}
