#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QVector>
#include <memory>

class QTemporaryDir;
class QTimer;

#include <QHash>

// One traverse of cavern's error report (the .err file): its stations, length along its legs,
// how far the adjustment moved it and that as a percentage; then how unlikely that is from the
// legs' expected errors, in standard deviations per leg, overall and in its horizontal and
// vertical parts (-1 where the report does not say).
struct CavernTraverse
{
    QString stations; // "a - b - c - a"
    double length = 0.0;
    int legs = 0;
    double moved = 0.0;
    double errorPercent = 0.0;
    double deviations = -1.0;
    double horizontal = -1.0;
    double vertical = -1.0;
};

// Where cavern put a station after adjusting the loops, in the file's coordinates.
struct CavernPosition
{
    double east = 0.0, north = 0.0, up = 0.0;
};

struct CavernResult
{
    bool cancelled = false;
    bool started = false;
    int exitCode = -1;         // cavern's, when it ended by itself
    QString messages;          // what it printed (standard output and error together)
    QString loopSummary;       // its lines about loops and legs, e.g. "There is 1 loop."
    QString errorReport;       // the .err file as written
    QVector<CavernTraverse> traverses; // worst first (by error %)
    // Adjusted positions by station name (without the survey's prefix), read back through
    // survexport; empty when it is missing or failed.
    QHash<QString, CavernPosition> positions;

    bool succeeded() const { return started && !cancelled && exitCode == 0; }
};

// Runs Survex's cavern on a survey text in a temporary folder, without waiting: finished() says
// how it went. The folder and its files go when the next run starts or this object ends.
class CavernRun : public QObject
{
    Q_OBJECT
public:
    explicit CavernRun(QObject *parent = nullptr);
    ~CavernRun() override;

    // cavern on the PATH, or an empty text.
    static QString findCavern();
    static QString installHint(); // how to get it on Debian

    // Starts cavern (the given program, normally findCavern()) on the text; a run still going is
    // cancelled first. finished() follows, also when cavern cannot be started.
    void start(const QByteArray &survexText, const QString &program);
    void cancel();
    bool isRunning() const;
    // The model cavern wrote in the last run's folder (there while the folder is).
    QString modelPath() const;

    // The traverses of a .err file.
    static QVector<CavernTraverse> parseErrorReport(const QString &text);
    // The lines of cavern's output that count stations, legs and loops.
    static QString loopSummary(const QString &messages);
    // The positions of survexport's POS text.
    static QHash<QString, CavernPosition> parsePositions(const QString &text);

    // What is kept of a program's output: its last bytes, so that one printing without end cannot
    // take the window's memory. The same bound holds for the files read back.
    static constexpr qsizetype OutputLimitBytes = 256 * 1024;
    static constexpr qsizetype FileLimitBytes = 64 * 1024 * 1024;
    // Adds `more` to `tail`, keeping its last OutputLimitBytes (marked as cut at its start).
    static void keepTail(QByteArray &tail, const QByteArray &more);
    // A run that takes longer than this is stopped and reported.
    static constexpr int TimeLimitMilliseconds = 120000;
    void setTimeLimit(int milliseconds);

signals:
    void finished(const CavernResult &result);

private:
    void ended(int exitCode, QProcess::ExitStatus status);
    void exported(int exitCode, QProcess::ExitStatus status);
    void failed(QProcess::ProcessError error);
    void finish();

    QProcess *startProcess(const QString &program, const QStringList &arguments);

    CavernResult m_result; // while survexport reads cavern's positions
    std::unique_ptr<QTemporaryDir> m_folder;
    QProcess *m_process = nullptr;
    QByteArray m_output;   // the tail of what the running program printed
    QTimer *m_timeLimit = nullptr;
    bool m_cancelled = false;
    bool m_timedOut = false;
};
