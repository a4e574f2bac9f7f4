#include "checks/SurvexExport.h"

#include "output/WholeFile.h"
#include "survey/CommandError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace {

// Texts the user reads, in the interface's language.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(SurvexExport)
};

QString survexport()
{
    return QStandardPaths::findExecutable(QStringLiteral("survexport"));
}

} // namespace

SurvexExport::SurvexExport(QObject *parent) : QObject(parent)
{
    m_timeLimit.setSingleShot(true);
    m_timeLimit.setInterval(TimeLimitMilliseconds);
    connect(&m_timeLimit, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        cancel();
    });
    connect(&m_cavern, &CavernRun::finished, this, &SurvexExport::cavernFinished);
}

SurvexExport::~SurvexExport()
{
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(3000);
    }
}

bool SurvexExport::available()
{
    return !CavernRun::findCavern().isEmpty() && !survexport().isEmpty();
}

void SurvexExport::start(const QByteArray &survexText, ExportFormat format, const QString &path)
{
    cancel();
    m_file = format;
    m_path = path;
    m_timedOut = false;
    m_running = true;
    m_timeLimit.start();
    m_cavern.start(survexText, CavernRun::findCavern());
}

void SurvexExport::startModel(const QByteArray &survexText)
{
    cancel();
    m_file.reset();
    m_path.clear();
    m_timedOut = false;
    m_running = true;
    m_timeLimit.start();
    m_cavern.start(survexText, CavernRun::findCavern());
}

QString SurvexExport::modelPath() const
{
    return m_cavern.modelPath();
}

bool SurvexExport::isRunning() const
{
    return m_running;
}

void SurvexExport::cancel()
{
    if (m_cavern.isRunning())
        m_cavern.cancel(); // cavernFinished() ends the run
    if (m_process) {
        m_process->kill(); // survexportEnded() ends the run
        m_process->waitForFinished(3000);
    }
}

void SurvexExport::cavernFinished(const CavernResult &result)
{
    if (!m_running)
        return;
    if (result.cancelled)
        return end(false, m_timedOut ? Words::tr("cavern did not finish within %1 seconds and was stopped.")
                                           .arg(TimeLimitMilliseconds / 1000)
                                     : Words::tr("Cancelled."));
    if (!result.started)
        return end(false, result.messages);
    if (!result.succeeded())
        return end(false, Words::tr("cavern refused the survey (exit status %1):\n\n%2").arg(result.exitCode).arg(result.messages));
    if (!m_file)
        return end(true, QString());

    const QString program = survexport();
    if (program.isEmpty())
        return end(false, Words::tr("survexport is not installed: sudo apt-get install survex-aven"));
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_process, &QProcess::finished, this, &SurvexExport::survexportEnded);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && m_process)
            survexportEnded(-1, QProcess::CrashExit);
    });
    // survexport writes straight over its target and says nothing of a full disk: it writes in the
    // run's folder, and the file is put in place only when it is whole.
    m_process->start(program, {QString::fromLatin1(ExportFormats::row(*m_file).survexport->option), modelPath(), writtenPath()});
}

void SurvexExport::survexportEnded(int exitCode, QProcess::ExitStatus status)
{
    if (!m_process)
        return;
    const QString messages = QString::fromLocal8Bit(m_process->readAll()).trimmed();
    const QString error = m_process->error() == QProcess::FailedToStart ? m_process->errorString() : QString();
    m_process->deleteLater();
    m_process = nullptr;
    if (m_timedOut)
        return end(false, Words::tr("survexport did not finish within %1 seconds and was stopped.").arg(TimeLimitMilliseconds / 1000));
    if (!error.isEmpty())
        return end(false, Words::tr("survexport could not be started: %1").arg(error));
    if (status != QProcess::NormalExit || exitCode != 0)
        return end(false, Words::tr("survexport could not write %1:\n\n%2").arg(QDir::toNativeSeparators(m_path), messages));
    try {
        putInPlace(writtenPath(), *m_file, m_path);
    } catch (const CommandError &error) {
        return end(false, error.message());
    }
    end(true, QString());
}

QString SurvexExport::writtenPath() const
{
    return QFileInfo(modelPath()).absoluteDir().filePath(QStringLiteral("export") + ExportFormats::extension(*m_file));
}

void SurvexExport::putInPlace(const QString &written, ExportFormat format, const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile in(written);
    if (!in.open(QIODevice::ReadOnly))
        throw CommandError(Words::tr("survexport wrote no file for %1 (%2). Any earlier file of that name is unchanged.")
                               .arg(shown, in.errorString()));
    // Each of these files ends in a known way; one that does not was cut short (a full disk).
    const char *const ending = ExportFormats::row(format).survexport->ending;
    const qint64 size = in.size();
    in.seek(std::max<qint64>(0, size - 64));
    if (!in.read(64).trimmed().endsWith(ending))
        throw CommandError(Words::tr("survexport's file for %1 ends early (%2 bytes): the disk may be full. Any "
                                     "earlier file of that name is unchanged.")
                               .arg(shown)
                               .arg(size));
    in.seek(0);
    WholeFile::Writer out(path);
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        if (chunk.isEmpty())
            throw CommandError(Words::tr("Cannot read survexport's file for %1: %2. Any earlier file of that name is "
                                         "unchanged.")
                                   .arg(shown, in.errorString()));
        out.write(chunk);
    }
    out.commit();
}

void SurvexExport::end(bool succeeded, const QString &message)
{
    m_timeLimit.stop();
    m_running = false;
    emit finished(succeeded, message);
}
