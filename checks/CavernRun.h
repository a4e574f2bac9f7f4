#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QVector>
#include <memory>

class QTemporaryDir;

// One traverse of cavern's error report (the .err file): its stations, length along its legs,
// how far the adjustment moved it and that as a percentage.
struct CavernTraverse
{
    QString stations; // "a - b - c - a"
    double length = 0.0;
    int legs = 0;
    double moved = 0.0;
    double errorPercent = 0.0;
};

struct CavernResult
{
    bool cancelled = false;
    bool started = false;
    int exitCode = -1;         // cavern's, when it ended by itself
    QString messages;          // what it printed (standard output and error together)
    QString loopSummary;       // its lines about loops and legs, e.g. "There is 1 loop."
    QString errorReport;       // the .err file as written
    QVector<CavernTraverse> traverses;

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

signals:
    void finished(const CavernResult &result);

private:
    void ended(int exitCode, QProcess::ExitStatus status);
    void failed(QProcess::ProcessError error);

    std::unique_ptr<QTemporaryDir> m_folder;
    QProcess *m_process = nullptr;
    bool m_cancelled = false;
};
