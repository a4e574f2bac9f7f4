#include "checks/ui/CheckSource.h"

#include "survey/CommandError.h"

std::optional<Survey> CheckSource::surveyIfMade(QString *problem) const
{
    try {
        return survey();
    } catch (const CommandError &error) {
        if (problem)
            *problem = error.message();
        return std::nullopt;
    }
}

QVector<int> CheckSource::flaggedLegEnds() const
{
    if (!showDisagreement())
        return {};
    const std::optional<Survey> made = surveyIfMade();
    return made ? SurveyLegs::flaggedLegEnds(made->stations, CheckSettings::of(*made, tolerance())) : QVector<int>();
}
