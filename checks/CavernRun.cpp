#include "checks/CavernRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(CavernRun)
};

const QString SurveyName = QStringLiteral("survey");

} // namespace

CavernRun::CavernRun(QObject *parent) : QObject(parent), m_timeLimit(new QTimer(this))
{
    m_timeLimit->setSingleShot(true);
    m_timeLimit->setInterval(TimeLimitMilliseconds);
    connect(m_timeLimit, &QTimer::timeout, this, [this] {
        if (!m_process)
            return;
        m_timedOut = true;
        cancel();
    });
}

void CavernRun::keepTail(QByteArray &tail, const QByteArray &more)
{
    tail += more;
    if (tail.size() <= OutputLimitBytes)
        return;
    static const QByteArray cut = QByteArrayLiteral("...\n");
    tail = cut + tail.right(OutputLimitBytes - cut.size());
}

void CavernRun::setTimeLimit(int milliseconds)
{
    m_timeLimit->setInterval(milliseconds);
}

QProcess *CavernRun::startProcess(const QString &program, const QStringList &arguments)
{
    m_output.clear();
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setWorkingDirectory(m_folder->path());
    QProcess *process = m_process;
    connect(process, &QProcess::readyRead, this, [this, process] { keepTail(m_output, process->readAll()); });
    connect(process, &QProcess::errorOccurred, this, &CavernRun::failed);
    process->start(program, arguments);
    return process;
}

namespace {

// A file the run wrote, read up to the limit (a longer one is cut at it).
QString readWritten(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.read(CavernRun::FileLimitBytes)) : QString();
}

} // namespace

CavernRun::~CavernRun()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(3000);
    }
}

QString CavernRun::findCavern()
{
    return QStandardPaths::findExecutable(QStringLiteral("cavern"));
}

QString CavernRun::installHint()
{
    return Words::tr("Survex is not installed: sudo apt-get install survex");
}

bool CavernRun::isRunning() const
{
    return m_process != nullptr;
}

QString CavernRun::modelPath() const
{
    return m_folder ? m_folder->filePath(SurveyName + QStringLiteral(".3d")) : QString();
}

void CavernRun::start(const QByteArray &survexText, const QString &program)
{
    cancel();
    m_cancelled = false;
    m_timedOut = false;
    m_folder = std::make_unique<QTemporaryDir>();
    const QString svx = m_folder->filePath(SurveyName + QStringLiteral(".svx"));
    QFile file(svx);
    if (!m_folder->isValid() || !file.open(QIODevice::WriteOnly) || file.write(survexText) != survexText.size()) {
        CavernResult result;
        result.messages = Words::tr("Cannot write the survey for cavern in a temporary folder: %1")
                              .arg(m_folder->isValid() ? file.errorString() : m_folder->errorString());
        emit finished(result);
        return;
    }
    file.close();

    m_timeLimit->start();
    QProcess *process = startProcess(program, {QStringLiteral("--output=") + m_folder->path(), svx});
    connect(process, &QProcess::finished, this, &CavernRun::ended);
}

void CavernRun::cancel()
{
    if (!m_process)
        return;
    m_cancelled = true;
    m_process->kill(); // finished() follows, reporting the run as cancelled
    m_process->waitForFinished(3000);
}

void CavernRun::failed(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart || !m_process)
        return; // a crash or a kill also ends in finished()
    if (m_result.started) {
        // survexport would not start: the check stands without positions.
        m_process->deleteLater();
        m_process = nullptr;
        finish();
        return;
    }
    m_timeLimit->stop();
    CavernResult result;
    result.cancelled = m_cancelled;
    result.messages = Words::tr("cavern could not be started: %1").arg(m_process->errorString());
    m_process->deleteLater();
    m_process = nullptr;
    emit finished(result);
}

void CavernRun::ended(int exitCode, QProcess::ExitStatus status)
{
    if (!m_process)
        return;
    CavernResult result;
    result.started = true;
    result.cancelled = m_cancelled;
    result.exitCode = status == QProcess::NormalExit ? exitCode : -1;
    keepTail(m_output, m_process->readAll());
    result.messages = QString::fromLocal8Bit(m_output);
    m_process->deleteLater();
    m_process = nullptr;
    if (result.cancelled) {
        m_timeLimit->stop();
        if (m_timedOut)
            result.messages = Words::tr("cavern did not finish within %1 seconds and was stopped.")
                                  .arg(m_timeLimit->interval() / 1000)
                + QStringLiteral("\n\n") + result.messages;
        emit finished(result);
        return;
    }
    if (status != QProcess::NormalExit)
        result.messages += Words::tr("\ncavern stopped unexpectedly.");
    result.loopSummary = loopSummary(result.messages);
    result.errorReport = readWritten(m_folder->filePath(SurveyName + QStringLiteral(".err")));
    result.traverses = parseErrorReport(result.errorReport);
    m_result = result;
    const QString survexport = QStandardPaths::findExecutable(QStringLiteral("survexport"));
    if (!result.succeeded() || survexport.isEmpty()) {
        finish();
        return;
    }
    // The adjusted positions, read by Survex's own tool rather than from its file layout.
    QProcess *process = startProcess(survexport, {QStringLiteral("--pos"), m_folder->filePath(SurveyName + QStringLiteral(".3d")),
                                                  m_folder->filePath(SurveyName + QStringLiteral(".pos"))});
    connect(process, &QProcess::finished, this, &CavernRun::exported);
}

void CavernRun::exported(int exitCode, QProcess::ExitStatus status)
{
    if (!m_process)
        return;
    m_process->deleteLater();
    m_process = nullptr;
    if (m_cancelled) {
        m_result.cancelled = true;
    } else if (status == QProcess::NormalExit && exitCode == 0) {
        m_result.positions = parsePositions(readWritten(m_folder->filePath(SurveyName + QStringLiteral(".pos"))));
    }
    finish();
}

void CavernRun::finish()
{
    m_timeLimit->stop();
    const CavernResult result = std::exchange(m_result, CavernResult());
    emit finished(result);
}

QHash<QString, CavernPosition> CavernRun::parsePositions(const QString &text)
{
    // "(    7.35,     3.90,    -1.20 ) cave.a1" under a heading line.
    static const QRegularExpression row(
        QStringLiteral("^\\(\\s*(-?[0-9.]+),\\s*(-?[0-9.]+),\\s*(-?[0-9.]+)\\s*\\)\\s+(\\S+)\\s*$"));
    QHash<QString, CavernPosition> positions;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = row.match(line);
        if (!match.hasMatch())
            continue;
        const CavernPosition position{match.captured(1).toDouble(), match.captured(2).toDouble(),
                                      match.captured(3).toDouble()};
        positions.insert(match.captured(4).section(QLatin1Char('.'), -1), position);
    }
    return positions;
}

QVector<CavernTraverse> CavernRun::parseErrorReport(const QString &text)
{
    // Each traverse: its stations on one line, then
    // "Original length  41.00m (  4 legs), moved   1.00m ( 0.25m/leg). Error   2.44%".
    static const QRegularExpression figures(
        QStringLiteral("^Original length\\s+([0-9.]+)m\\s*\\(\\s*(\\d+) legs?\\), moved\\s+([0-9.]+)m.*Error\\s+([0-9.]+)%"));
    static const QRegularExpression split(QStringLiteral("^H:\\s*([0-9.]+)\\s+V:\\s*([0-9.]+)"));
    QVector<CavernTraverse> traverses;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 1; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = figures.match(lines[i].trimmed());
        if (!match.hasMatch())
            continue;
        CavernTraverse traverse;
        traverse.stations = lines[i - 1].trimmed();
        traverse.length = match.captured(1).toDouble();
        traverse.legs = match.captured(2).toInt();
        traverse.moved = match.captured(3).toDouble();
        traverse.errorPercent = match.captured(4).toDouble();
        // Then the deviations per leg alone on a line, and "H: 0.79 V: 2.92".
        bool ok = false;
        if (i + 1 < lines.size()) {
            const double deviations = lines[i + 1].trimmed().toDouble(&ok);
            if (ok)
                traverse.deviations = deviations;
        }
        if (i + 2 < lines.size()) {
            const QRegularExpressionMatch parts = split.match(lines[i + 2].trimmed());
            if (parts.hasMatch()) {
                traverse.horizontal = parts.captured(1).toDouble();
                traverse.vertical = parts.captured(2).toDouble();
            }
        }
        traverses.append(traverse);
    }
    std::stable_sort(traverses.begin(), traverses.end(), [](const CavernTraverse &a, const CavernTraverse &b) {
        return a.errorPercent > b.errorPercent;
    });
    return traverses;
}

QString CavernRun::loopSummary(const QString &messages)
{
    QStringList kept;
    for (const QString &line : messages.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("Survey contains")) || trimmed.startsWith(QLatin1String("There "))
            || trimmed.startsWith(QLatin1String("Total length")))
            kept.append(trimmed);
    }
    return kept.join(QLatin1Char('\n'));
}
