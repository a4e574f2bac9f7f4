#include "output/Exporter.h"

#include "survey/CommandError.h"
#include "output/CompassText.h"
#include "output/DataFileName.h"
#include "output/DrawnPieces.h"
#include "output/SurvexExtend.h"
#include "output/TherionText.h"
#include "output/WholeFile.h"
#include "survey/StationNames.h"

namespace Exporter {

ExportFormat ofLayout(SurveyFormat layout)
{
    switch (layout) {
    case SurveyFormat::LumaroLabel:
        return ExportFormat::LumaroLabel;
    case SurveyFormat::Survex:
        return ExportFormat::Survex;
    case SurveyFormat::LumaroFromTo:
        break;
    }
    return ExportFormat::LumaroFromTo;
}

std::optional<SurveyFormat> layoutOf(ExportFormat format)
{
    switch (format) {
    case ExportFormat::LumaroLabel:
        return SurveyFormat::LumaroLabel;
    case ExportFormat::LumaroFromTo:
        return SurveyFormat::LumaroFromTo;
    case ExportFormat::Survex:
        return SurveyFormat::Survex;
    case ExportFormat::Therion:
    case ExportFormat::Compass:
    case ExportFormat::SurvexExtend:
        break;
    }
    return std::nullopt;
}

QString extension(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Survex:
        return QStringLiteral(".svx");
    case ExportFormat::Therion:
        return QStringLiteral(".th");
    case ExportFormat::Compass:
        return QStringLiteral(".dat");
    case ExportFormat::SurvexExtend:
        return QStringLiteral(".espec");
    case ExportFormat::LumaroLabel:
    case ExportFormat::LumaroFromTo:
        break;
    }
    return QStringLiteral(".cav");
}

std::optional<ExportFormat> formatOfName(const QString &path, SurveyFormat ticked)
{
    if (!DataFileNames::hasExtension(path))
        return std::nullopt;
    const QString name = path.toLower();
    if (name.endsWith(QLatin1String(".svx")))
        return ExportFormat::Survex;
    if (name.endsWith(QLatin1String(".th")))
        return ExportFormat::Therion;
    if (name.endsWith(QLatin1String(".espec")))
        return ExportFormat::SurvexExtend;
    if (name.endsWith(QLatin1String(".dat")))
        return ExportFormat::Compass;
    if (name.endsWith(QLatin1String(".cav")))
        return ticked == SurveyFormat::LumaroLabel ? ExportFormat::LumaroLabel : ExportFormat::LumaroFromTo;
    return std::nullopt;
}

namespace {

// A survey in pieces gets a fix for each, before the line that closes its block (a complete text
// ends with that line; Therion's is followed by "endsurvey").
SurveyText withPiecesFixed(SurveyText text, const Survey &survey, ExportFormat format)
{
    if (!text.complete() || text.lines.isEmpty())
        return text;
    const bool survex = format == ExportFormat::Survex;
    const StationNames names(survey.stations, survex ? NameRules::Survex : NameRules::Therion);
    const QByteArray entrance = survey.details.entrance.isEmpty() ? QByteArray() : names.nameOf(survey.details.entrance);
    const DrawnPieces pieces = DrawnPieces::of(survey, names, entrance);
    const QList<QByteArray> fixes = pieces.lines(survex ? DrawnPieces::Reader::Survex : DrawnPieces::Reader::Therion,
                                                 names, survex ? QByteArray() : QByteArray("    "), survey.details);
    const qsizetype at = text.lines.size() - (survex ? 1 : 2);
    if (fixes.isEmpty() || at < 0)
        return text;
    for (qsizetype i = 0; i < fixes.size(); ++i)
        text.lines.insert(at + i, fixes[i]);
    return text;
}

} // namespace

SurveyText text(const Survey &survey, ExportFormat format)
{
    switch (format) {
    case ExportFormat::Therion:
        return withPiecesFixed(TherionText::build(survey.stations, survey.style, PlanNorths(survey.sheets),
                                                  survey.details, survey.profileKind),
                               survey, format);
    case ExportFormat::Compass:
        return CompassText::build(survey.stations, PlanNorths(survey.sheets), survey.details);
    case ExportFormat::SurvexExtend:
        return SurvexExtend::build(survey);
    case ExportFormat::LumaroLabel:
    case ExportFormat::LumaroFromTo:
    case ExportFormat::Survex:
        break;
    }
    SurveyText built =
        SurveyText::build(survey.stations, *layoutOf(format), survey.style, PlanNorths(survey.sheets), survey.details);
    return format == ExportFormat::Survex ? withPiecesFixed(std::move(built), survey, format) : built;
}

void write(const Survey &survey, ExportFormat format, const QString &path)
{
    const SurveyText built = text(survey, format);
    if (!built.complete())
        throw CommandError(built.error);
    WholeFile::write(path, built.fileBytes());
}

} // namespace Exporter
