#include "output/SurvexExtend.h"

#include "output/ProfileFolds.h"
#include "survey/StationNames.h"

#include <QCoreApplication>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(SurvexExtend)
};

} // namespace

namespace SurvexExtend {

SurveyText build(const Survey &survey)
{
    SurveyText text;
    if (survey.profileKind != ProfileKind::Extended) {
        text.error = Words::tr("The profile is not an extended one: it has no folds for Survex's extend to follow.");
        return text;
    }
    const StationNames names(survey.stations, NameRules::Survex);
    const ProfileFolds folds = ProfileFolds::of(survey.stations, names, NameRules::Survex, survey.details.entrance);
    const QByteArray block = SurveyText::survexBlock(survey.details).toLower();
    const auto name = [&](int index) { return (block.isEmpty() ? QByteArray() : block + '.') + names.name(index).toLower(); };
    const auto direction = [](ProfileSide side) { return side == ProfileSide::Left ? "*eleft " : "*eright "; };

    text.lines.append("; Survex extend: the extended profile as drawn");
    if (folds.start < 0)
        return text;
    text.lines.append("*start " + name(folds.start));
    for (const FoldedLeg &leg : folds.legs) {
        if (leg.closesLoop)
            text.lines.append("*break " + name(leg.to) + ' ' + name(leg.from));
        if (leg.turns())
            text.lines.append(direction(*leg.drawn) + name(leg.from) + ' ' + name(leg.to));
    }
    return text;
}

} // namespace SurvexExtend
