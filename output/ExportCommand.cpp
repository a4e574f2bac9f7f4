#include "output/ExportCommand.h"

#include "app/CommandError.h"
#include "output/SurveyText.h"
#include "output/WholeFile.h"
#include "project/ProjectFile.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>
#include <cmath>

namespace {

const QStringList FormatNames = {QStringLiteral("label"), QStringLiteral("fromto"), QStringLiteral("survex")};
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

} // namespace

QString ExportCommand::usageLine()
{
    return QStringLiteral("Usage: speomark-export [--format label|fromto|survex] [--style angle|depthchange] "
                          "[--orientation DEG] [-o FILE] PROJECT.sprj");
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
        QStringLiteral("Layout of the text: label (Lumaro \"Label\", .cav), fromto (Lumaro \"FromTo\", .cav) or "
                       "survex (.svx). Default: the format saved in the project."),
        QStringLiteral("label|fromto|survex"));
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
    parser.addOptions({helpOption, formatOption, styleOption, orientationOption, outputOption});
    parser.addPositionalArgument(QStringLiteral("PROJECT.sprj"), QStringLiteral("The project file to export."));

    int format = 0;
    int style = 0;
    double orientation = 0.0;
    QString projectPath;
    try {
        if (!parser.parse(arguments))
            throw UsageProblem{parser.errorText()};
        if (parser.isSet(helpOption)) {
            const QString help = parser.helpText();
            const QString options = help.mid(help.indexOf(QStringLiteral("Options:")));
            *standardOutput = (usageLine() + QStringLiteral("\n\nWrites the survey data text of a Speomark project "
                                                            "exactly as the program's Save writes it: every line "
                                                            "ends in CR LF, numbers use \".\" as decimal point.\n"
                                                            "Exit status: 0 done, 1 the project or a leg could not "
                                                            "be used (nothing is written), 2 wrong usage.\n\n") +
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
        // Checked now so wrong usage is reported as such even when the project is unreadable.
        choice(parser, formatOption, FormatNames, 0);
        choice(parser, styleOption, StyleNames, 0);
    } catch (const UsageProblem &problem) {
        *standardError = QStringLiteral("%1: %2\n%3\n").arg(Program, problem.text, usageLine());
        return UsageError;
    }

    try {
        const ProjectContents project = ProjectFile::read(projectPath);
        format = choice(parser, formatOption, FormatNames, project.header.dataFormatIndex);
        style = choice(parser, styleOption, StyleNames, project.header.dataStyleIndex);
        // The window reads north from its entry box, which shows the saved number with 15 digits.
        if (!parser.isSet(orientationOption))
            orientation = ProjectHeader::reopenedEntryValue(project.header.planOrientationEntry);

        const SurveyText text = SurveyText::build(project.stations, SurveyFormat(format), SurveyStyle(style), orientation);
        if (!text.complete())
            throw CommandError(QStringLiteral("%1: %2 in the leg from station %3 to station %4 (table entries %5 "
                                              "and %6); nothing was written.")
                                   .arg(QDir::toNativeSeparators(projectPath), text.error, text.failedFromName,
                                        text.failedToName)
                                   .arg(text.failedFrom)
                                   .arg(text.failedTo));
        const QByteArray bytes = text.fileBytes();

        if (!parser.isSet(outputOption)) {
            *standardOutput = bytes;
            return Success;
        }
        WholeFile::write(parser.value(outputOption), bytes);
        return Success;
    } catch (const CommandError &error) {
        *standardError = QStringLiteral("%1: %2\n").arg(Program, error.message());
        return Failure;
    }
}
