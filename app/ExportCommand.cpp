#include "app/ExportCommand.h"

#include "survey/CommandError.h"
#include "checks/CheckReport.h"
#include "output/Exporter.h"
#include "output/SurveyText.h"
#include "output/WholeFile.h"
#include "project/ProjectFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

const QString CsvFormat = QStringLiteral("csv");

// --format's names: every format's that has one, and csv after the layouts.
QStringList formatNames()
{
    QStringList names = ExportFormats::commandNames();
    const auto layouts = std::count_if(names.begin(), names.end(), [](const QString &name) {
        return ExportFormats::row(*ExportFormats::ofCommandName(name)).layout.has_value();
    });
    names.insert(layouts, CsvFormat);
    return names;
}

const QStringList StyleNames = {QStringLiteral("angle"), QStringLiteral("depthchange")};
const QString Program = QStringLiteral("speomark-export");

struct UsageProblem
{
    QString text;
};

int choice(const QCommandLineParser &parser, const QCommandLineOption &option, const QStringList &names,
           int fallback)
{
    if (!parser.isSet(option))
        return fallback;
    const int index = int(names.indexOf(parser.value(option).toLower()));
    if (index < 0)
        throw UsageProblem{QStringLiteral("--%1 must be %2, not '%3'")
                               .arg(option.names().constLast(), names.join(QLatin1Char('|')), parser.value(option))};
    return index;
}

// "3px" (clicks on the drawings), "0.5,5" (metres and percent, the rule alone) or "3px,0.5,5".
LegTolerance parseTolerance(const QString &text)
{
    QStringList parts = text.split(QLatin1Char(','));
    LegTolerance tolerance;
    bool ok = true;
    if (parts.constFirst().trimmed().endsWith(QLatin1String("px"))) {
        QString pixels = parts.takeFirst().trimmed();
        pixels.chop(2);
        tolerance.pixels = QLocale::c().toDouble(pixels, &ok);
        ok = ok && tolerance.pixels > 0.0 && (parts.isEmpty() || parts.size() == 2);
    } else {
        tolerance.pixels = 0.0;
        ok = parts.size() == 2;
    }
    if (ok && !parts.isEmpty())
        tolerance.metres = QLocale::c().toDouble(parts[0].trimmed(), &ok);
    if (ok && !parts.isEmpty())
        tolerance.percent = QLocale::c().toDouble(parts[1].trimmed(), &ok);
    if (!ok || !tolerance.usable())
        throw UsageProblem{QStringLiteral("--tolerance must be pixels such as 3px, metres and percent such as 0.5,5, "
                                          "or both such as 3px,0.5,5, not '%1'")
                               .arg(text)};
    return tolerance;
}

CheckSettings checkSettings(const Survey &survey, const LegTolerance &tolerance)
{
    return CheckSettings::of(survey, tolerance);
}

QString legFailure(const QString &projectPath, const QString &error, const QString &fromName, const QString &toName,
                   int from, int to)
{
    return QStringLiteral("%1: %2 in the leg from station %3 to station %4 (table entries %5 and %6); nothing was "
                          "written.")
        .arg(QDir::toNativeSeparators(projectPath), error, fromName, toName)
        .arg(from)
        .arg(to);
}

} // namespace

QString ExportCommand::usageLine()
{
    return QStringLiteral("Usage: speomark-export [--format %1] [--style angle|depthchange] "
                          "[--orientation DEG] [--check] [--tolerance Npx,M,P] [-o FILE] PROJECT.sprj")
        .arg(formatNames().join(QLatin1Char('|')));
}

int ExportCommand::run(const QStringList &arguments, QByteArray *standardOutput, QString *standardError)
{
    standardOutput->clear();
    standardError->clear();

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help and exit."));
    const QCommandLineOption formatOption(
        QStringLiteral("format"),
        QStringLiteral("Layout of the text: label (Lumaro \"Label\", .cav), fromto (Lumaro \"FromTo\", .cav), "
                       "survex (.svx), or csv: one line per leg with tape, compass, clino, depth change, the "
                       "horizontal length on the plan and on the profile, their disagreement and a flag (UTF-8, "
                       "RFC 4180), therion (a Therion .th file) or compass (a Compass .dat file: feet, and always "
                       "the inclination), or espec (how Survex's extend lays out the extended profile as drawn, for "
                       "extend -p NAME.espec NAME.3d; an extended profile only). Default: the format saved in the "
                       "project."),
        QStringLiteral("FORMAT"));
    const QCommandLineOption styleOption(
        QStringLiteral("style"),
        QStringLiteral("Third value of every leg: angle (inclination in degrees) or depthchange (height gained in "
                       "metres). Default: the style saved in the project."),
        QStringLiteral("angle|depthchange"));
    const QCommandLineOption orientationOption(
        QStringLiteral("orientation"),
        QStringLiteral("Direction of north on the plan image, in degrees clockwise from its top edge, written with "
                       "a \".\" as decimal point. Default: the plan orientation saved in the project."),
        QStringLiteral("DEG"));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write the text to FILE (replaced only once the whole text is written) instead of "
                       "standard output. The name is used as given; no extension is added."),
        QStringLiteral("FILE"));
    const QCommandLineOption checkOption(
        QStringLiteral("check"),
        QStringLiteral("Instead of the survey data, write a report of the survey check: legs whose plan and profile "
                       "lengths disagree, zero-length legs, repeated stations, loops with their misclosure, pieces "
                       "not tied and stations that look like forgotten ties. Exit status 3 when it flags anything."));
    const QCommandLineOption toleranceOption(
        QStringLiteral("tolerance"),
        QStringLiteral("How far the plan and profile lengths of a leg (and a loop's misclosure) may be off before "
                       "they are flagged: what clicks N pixels from the drawn marks come to at the sheets' scales "
                       "(Npx), else the larger of M metres and P percent of the longer length (M,P alone: that rule "
                       "everywhere). Default: 3px,0.5,5."),
        QStringLiteral("Npx,M,P"));
    const QCommandLineOption sheetsOption(
        QStringLiteral("sheets"),
        QStringLiteral("Instead of the survey data, list the project's sheets, one a line, tab-separated: plan or "
                       "profile, its name, its scan, the PDF page (0 for other images), metres per pixel (0 while "
                       "no scale is set) and, for a plan, north in degrees clockwise from the top of its image."));
    parser.addOptions({helpOption, formatOption, styleOption, orientationOption, checkOption, toleranceOption,
                       sheetsOption, outputOption});
    parser.addPositionalArgument(QStringLiteral("PROJECT.sprj"), QStringLiteral("The project file to export."));

    const QStringList formats = formatNames();
    int format = 0;
    int style = 0;
    double orientation = 0.0;
    LegTolerance tolerance;
    QString projectPath;
    try {
        if (!parser.parse(arguments))
            throw UsageProblem{parser.errorText()};
        if (parser.isSet(helpOption)) {
            const QString help = parser.helpText();
            const QString options = help.mid(help.indexOf(QStringLiteral("Options:")));
            *standardOutput = (usageLine() + QStringLiteral("\n\nWrites the survey data text of a Speomark project "
                                                            "exactly as the program's Save writes it: every line "
                                                            "ends in CR LF, numbers use \".\" as decimal point. "
                                                            "Or the legs as CSV, or the survey check's report.\n"
                                                            "Exit status: 0 done, 1 the project or a leg could not "
                                                            "be used (nothing is written), 2 wrong usage, 3 the "
                                                            "check flagged something.\n\n") +
                               options)
                                  .toUtf8();
            return Success;
        }
        const QStringList positional = parser.positionalArguments();
        if (positional.size() != 1)
            throw UsageProblem{positional.isEmpty() ? QStringLiteral("no project file given")
                                                    : QStringLiteral("only one project file can be exported")};
        projectPath = positional.constFirst();
        if (parser.isSet(orientationOption)) {
            bool ok = false;
            orientation = QLocale::c().toDouble(parser.value(orientationOption).trimmed(), &ok);
            if (!ok || !std::isfinite(orientation))
                throw UsageProblem{QStringLiteral("--orientation must be a number of degrees such as 12.5, not '%1'")
                                       .arg(parser.value(orientationOption))};
        }
        if (parser.isSet(toleranceOption))
            tolerance = parseTolerance(parser.value(toleranceOption));
        if (parser.isSet(checkOption) && parser.isSet(formatOption))
            throw UsageProblem{QStringLiteral("--check writes the check's report; it takes no --format")};
        // Checked now so wrong usage is reported as such even when the project is unreadable.
        choice(parser, formatOption, formats, 0);
        choice(parser, styleOption, StyleNames, 0);
    } catch (const UsageProblem &problem) {
        *standardError = QStringLiteral("%1: %2\n%3\n").arg(Program, problem.text, usageLine());
        return UsageError;
    }

    try {
        const ProjectContents project = ProjectFile::read(projectPath);
        // Details that cannot be read leave the stations usable: the text is written without them.
        if (!project.detailsProblem().isEmpty())
            *standardError += QStringLiteral("%1: %2\n").arg(Program, project.detailsProblem());
        if (!project.projectionProblem().isEmpty())
            *standardError += QStringLiteral("%1: %2\n").arg(Program, project.projectionProblem());
        if (!project.dimensionsProblem().isEmpty())
            *standardError += QStringLiteral("%1: %2\n").arg(Program, project.dimensionsProblem());
        format = choice(parser, formatOption, formats, -1);
        // csv has no row: it is the check's, below.
        const ExportFormat exportFormat =
            format < 0 ? ExportFormats::ofLayout(SurveyFormat(project.header.dataFormatIndex))
                       : ExportFormats::ofCommandName(formats[format]).value_or(ExportFormat::LumaroFromTo);
        style = choice(parser, styleOption, StyleNames, project.header.dataStyleIndex);
        Survey survey = project.survey();
        survey.style = SurveyStyle(style);
        if (parser.isSet(orientationOption))
            survey.sheet(PlanSheet).northDeg = orientation;

        QByteArray bytes;
        int status = Success;
        if (parser.isSet(sheetsOption)) {
            SurveyDocument document;
            project.applyTo(document);
            for (const ViewSettings &sheet : document.sheets()) {
                const bool plan = sheet.kind == SheetKind::Plan;
                bytes += QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
                             .arg(plan ? QStringLiteral("plan") : QStringLiteral("profile"),
                                  document.sheetName(sheet.id), QDir::toNativeSeparators(sheet.imagePath))
                             .arg(sheet.pdfPage)
                             .arg(QString::fromLatin1(SurveyText::shortestNumber(sheet.calibration.metresPerPixel)),
                                  plan ? sheet.north.text() : QStringLiteral("-"))
                             .toUtf8();
            }
        } else if (parser.isSet(checkOption) || (format >= 0 && formats[format] == CsvFormat)) {
            const SurveyNetwork network = SurveyNetwork::build(survey.stations, checkSettings(survey, tolerance));
            if (parser.isSet(checkOption)) {
                bytes = CheckReport::text(network).toUtf8();
                status = network.anythingFlagged() ? Flagged : Success;
            } else {
                for (const LegCheck &leg : network.legs)
                    if (!leg.computed)
                        throw CommandError(legFailure(projectPath, leg.error, leg.fromName, leg.toName, leg.from, leg.to));
                bytes = CheckReport::legsCsv(network.legs);
            }
        } else {
            const SurveyText text = Exporter::text(survey, exportFormat);
            if (!text.complete() && text.failedFrom < 0)
                throw CommandError(QStringLiteral("%1: %2 Nothing was written.").arg(QDir::toNativeSeparators(projectPath), text.error));
            if (!text.complete())
                throw CommandError(legFailure(projectPath, text.error, text.failedFromName, text.failedToName,
                                              text.failedFrom, text.failedTo));
            bytes = text.fileBytes();
        }

        if (!parser.isSet(outputOption)) {
            *standardOutput = bytes;
            return status;
        }
        WholeFile::write(parser.value(outputOption), bytes);
        return status;
    } catch (const CommandError &error) {
        *standardError = QStringLiteral("%1: %2\n").arg(Program, error.message());
        return Failure;
    }
}
