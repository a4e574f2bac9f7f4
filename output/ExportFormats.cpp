#include "output/ExportFormats.h"

#include "output/CompassText.h"
#include "output/DataFileName.h"
#include "output/DrawnPieces.h"
#include "output/SurvexExtend.h"
#include "output/SurveyText.h"
#include "output/TherionText.h"
#include "survey/StationNames.h"

#include <QCoreApplication>
#include <algorithm>

namespace {

// A survey in pieces gets a fix for each, before the line that closes its block (a complete text
// ends with that line; Therion's is followed by "endsurvey").
SurveyText withPiecesFixed(SurveyText text, const Survey &survey, bool survex)
{
    if (!text.complete() || text.lines.isEmpty())
        return text;
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

template <SurveyFormat layout> SurveyText layoutText(const Survey &s)
{
    return SurveyText::build(s.stations, layout, s.style, PlanNorths(s.sheets), s.details);
}

SurveyText survexText(const Survey &s)
{
    return withPiecesFixed(layoutText<SurveyFormat::Survex>(s), s, true);
}

SurveyText therionText(const Survey &s)
{
    return withPiecesFixed(TherionText::build(s.stations, s.style, PlanNorths(s.sheets), s.details, s.profileKind), s,
                           false);
}

SurveyText compassText(const Survey &s)
{
    return CompassText::build(s.stations, PlanNorths(s.sheets), s.details);
}

using F = ExportFormat;
using L = SurveyFormat;
using X = SurvexportFile;

// Save as offers them in this order. Two layouts share ".cav": a name ending so is the ticked
// one's, else the first's.
const QList<ExportFormatRow> &table()
{
    static const QList<ExportFormatRow> rows = {
        // format, --format, extension, layout, Save as's filter, text, how survexport writes it
        {F::LumaroFromTo, "fromto", ".cav", L::LumaroFromTo, nullptr, layoutText<L::LumaroFromTo>, {}},
        {F::LumaroLabel, "label", ".cav", L::LumaroLabel, nullptr, layoutText<L::LumaroLabel>, {}},
        {F::Survex, "survex", ".svx", L::Survex, nullptr, survexText, {}},
        {F::SurvexExtend, "espec", ".espec", {},
         QT_TRANSLATE_NOOP("ExportFormats", "Survex extend files: the extended profile as drawn (*.espec)"),
         SurvexExtend::build, {}},
        {F::Therion, "therion", ".th", {}, QT_TRANSLATE_NOOP("ExportFormats", "Therion files (*.th)"), therionText, {}},
        {F::Compass, "compass", ".dat", {}, QT_TRANSLATE_NOOP("ExportFormats", "Compass files (*.dat)"), compassText, {}},
        {F::Kml, nullptr, ".kml", {}, QT_TRANSLATE_NOOP("ExportFormats", "Google Earth KML, through Survex (*.kml)"),
         survexText, X{"--kml", "</kml>", true}},
        {F::Gpx, nullptr, ".gpx", {}, QT_TRANSLATE_NOOP("ExportFormats", "GPS GPX, through Survex (*.gpx)"), survexText,
         X{"--gpx", "</gpx>", true}},
        {F::Dxf, nullptr, ".dxf", {}, QT_TRANSLATE_NOOP("ExportFormats", "CAD drawing DXF, through Survex (*.dxf)"),
         survexText, X{"--dxf", "EOF", false}},
        {F::Svg, nullptr, ".svg", {}, QT_TRANSLATE_NOOP("ExportFormats", "SVG drawing, through Survex (*.svg)"), survexText,
         X{"--svg", "</svg>", false}},
        {F::Json, nullptr, ".json", {}, QT_TRANSLATE_NOOP("ExportFormats", "JSON, through Survex (*.json)"), survexText,
         X{"--json", "}", false}},
        {F::Plt, nullptr, ".plt", {}, QT_TRANSLATE_NOOP("ExportFormats", "Compass PLT, through Survex (*.plt)"), survexText,
         X{"--plt", "\x1a", false}},
    };
    return rows;
}

} // namespace

QString ExportFormatRow::filterText() const
{
    return filter ? QCoreApplication::translate("ExportFormats", filter) : QString();
}

namespace ExportFormats {

const QList<ExportFormatRow> &all()
{
    return table();
}

const ExportFormatRow &row(ExportFormat format)
{
    for (const ExportFormatRow &r : all())
        if (r.format == format)
            return r;
    Q_UNREACHABLE(); // every format has its row
}

ExportFormat ofLayout(SurveyFormat layout)
{
    for (const ExportFormatRow &r : all())
        if (r.layout == layout)
            return r.format;
    return ExportFormat::LumaroFromTo;
}

QString extension(ExportFormat format)
{
    return QString::fromLatin1(row(format).extension);
}

QString filter(ExportFormat format)
{
    return row(format).filterText();
}

std::optional<ExportFormat> ofFileName(const QString &path, SurveyFormat ticked)
{
    const QString extension = DataFileNames::extensionOf(path);
    if (extension.isEmpty())
        return std::nullopt;
    std::optional<ExportFormat> first;
    for (const ExportFormatRow &r : all()) {
        if (QLatin1String(r.extension + 1) != extension)
            continue;
        if (r.layout == ticked)
            return r.format;
        if (!first)
            first = r.format;
    }
    return first;
}

std::optional<ExportFormat> ofFilter(const QString &filter)
{
    for (const ExportFormatRow &r : all())
        if (r.filter && r.filterText() == filter)
            return r.format;
    return std::nullopt;
}

QStringList commandNames()
{
    QList<ExportFormatRow> named;
    std::copy_if(all().begin(), all().end(), std::back_inserter(named), [](const auto &r) { return r.commandName; });
    std::sort(named.begin(), named.end(), [](const auto &a, const auto &b) { return a.format < b.format; });
    QStringList names;
    for (const ExportFormatRow &r : named)
        names.append(QString::fromLatin1(r.commandName));
    return names;
}

std::optional<ExportFormat> ofCommandName(const QString &name)
{
    for (const ExportFormatRow &r : all())
        if (r.commandName && name.compare(QLatin1String(r.commandName), Qt::CaseInsensitive) == 0)
            return r.format;
    return std::nullopt;
}

QString saveAsFilters(bool survexportAvailable)
{
    QStringList filters{QCoreApplication::translate("ExportFormats", "Survey data (*.cav *.svx)")};
    for (const ExportFormatRow &r : all())
        if (r.filter && (survexportAvailable || !r.viaSurvexport()))
            filters.append(r.filterText());
    filters.append(QCoreApplication::translate("ExportFormats", "All (*)"));
    return filters.join(QStringLiteral(";;"));
}

QStringList extensions()
{
    QStringList known;
    for (const ExportFormatRow &r : all())
        if (!known.contains(QLatin1String(r.extension + 1)))
            known.append(QString::fromLatin1(r.extension + 1));
    return known;
}

} // namespace ExportFormats
