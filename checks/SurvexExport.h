#pragma once

#include "checks/CavernRun.h"
#include "output/ExportFormats.h"

#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>
#include <optional>

// Has cavern compute a Survex text in a temporary folder (through CavernRun), then survexport
// write one of its files (a format whose row in ExportFormats says how), or just keeps the
// computed model for a viewer. Nothing waits: finished() tells how it went, with a message for
// the user when it failed (cavern's own words when it refused the survey). A run that takes longer than the time limit is stopped and reported.
class SurvexExport : public QObject
{
    Q_OBJECT
public:
    explicit SurvexExport(QObject *parent = nullptr);
    ~SurvexExport() override;

    static constexpr int TimeLimitMilliseconds = 120000;

    // Both cavern and survexport are on the PATH.
    static bool available();

    // Writes a file of `format` (one survexport writes) at `path` from the Survex text.
    void start(const QByteArray &survexText, ExportFormat format, const QString &path);
    // Only computes the model; modelPath() then names it until the next run or this object ends.
    void startModel(const QByteArray &survexText);
    QString modelPath() const;
    bool isRunning() const;
    void cancel();

signals:
    void finished(bool succeeded, const QString &message);

private:
    void cavernFinished(const CavernResult &result);
    void survexportEnded(int exitCode, QProcess::ExitStatus status);
    void end(bool succeeded, const QString &message);
    QString writtenPath() const; // where survexport writes, in the run's folder
public:
    // Puts survexport's file in place at `path` through a whole-file write, after checking that
    // it ends as such a file ends. Throws CommandError, leaving `path` as it was, when it cannot.
    static void putInPlace(const QString &written, ExportFormat format, const QString &path);
private:

    CavernRun m_cavern;
    QProcess *m_process = nullptr;
    QTimer m_timeLimit;
    bool m_timedOut = false;
    bool m_running = false;
    std::optional<ExportFormat> m_file; // none: the model only
    QString m_path;
};
