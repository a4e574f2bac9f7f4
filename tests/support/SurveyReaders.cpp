#include "support/SurveyReaders.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace SurveyReaders {

QString run(const QString &program, const QStringList &arguments, const QString &folder, int *exitCode)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    *exitCode = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

QHash<QString, Position> positions(const QString &model, QString *problem)
{
    int status = -1;
    const QString csv = model + QStringLiteral(".csv");
    const QString output = run(QStringLiteral("survexport"), {"--csv", model, csv}, QDir::tempPath(), &status);
    QHash<QString, Position> result;
    QFile file(csv);
    if (status != 0 || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *problem = output;
        return result;
    }
    file.readLine();
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine().trimmed()).split(QLatin1Char(','));
        if (fields.size() == 4)
            result.insert(fields[3].section(QLatin1Char('.'), -1).toLower(),
                          Position{fields[0].toDouble(), fields[1].toDouble(), fields[2].toDouble()});
    }
    return result;
}

QHash<QString, Position> cavernPositions(const QByteArray &svx, const QString &folder, QString *problem)
{
    const QString path = QDir(folder).filePath(QStringLiteral("survey.svx"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(svx) != svx.size()) {
        *problem = QStringLiteral("cannot write ") + path;
        return {};
    }
    file.close();
    int status = -1;
    const QString output = run(QStringLiteral("cavern"),
                               {"--warnings-are-errors", "--no-auxiliary-files", "--quiet", "--quiet",
                                "--output=" + folder, path},
                               folder, &status);
    if (status != 0) {
        *problem = output;
        return {};
    }
    return positions(QDir(folder).filePath(QStringLiteral("survey.3d")), problem);
}

} // namespace SurveyReaders
