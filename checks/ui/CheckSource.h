#pragma once

#include "checks/SurveyLegs.h"
#include "survey/Survey.h"

#include <QObject>
#include <QString>
#include <QVector>
#include <optional>

// What the check windows read and set: the survey (as every writer gets it), the tolerance and
// whether the drawings colour the legs that disagree. Whatever holds the survey stands behind it;
// the windows know nothing else of it.
class CheckSource : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The survey; throws CommandError with the message to show when it cannot be made.
    virtual Survey survey() const = 0;
    virtual LegTolerance tolerance() const = 0;
    virtual void setTolerance(const LegTolerance &tolerance) = 0;
    virtual bool showDisagreement() const = 0;
    virtual void setShowDisagreement(bool shown) = 0;

    // The survey, or none with *problem saying why.
    std::optional<Survey> surveyIfMade(QString *problem = nullptr) const;
    // The "to" ends of the legs the check flags, while they are to be shown; none without a survey.
    QVector<int> flaggedLegEnds() const;

signals:
    // The survey changed where the check looks; `whatSurvexReads`: its stations, north or kind of
    // profile, so Survex's figures for the survey before no longer hold.
    void surveyChanged(bool whatSurvexReads);
    // The tolerance or "Show disagreement" changed.
    void toleranceChanged();
};
