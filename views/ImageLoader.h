#pragma once

#include "views/ImageFile.h"

#include <QList>
#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

class QThread;

// One file to read and how.
struct ImageJob
{
    QString path;
    ImageRequest request;
};

// Reads image files off the window's thread: every job of a start() in a thread of its own (a
// project's two scans decode at once), with the share read and a cancel that can come at any
// moment. No thread outlives the job it runs: finished() comes once every thread has ended, and
// the destructor cancels and waits.
class ImageLoader : public QObject
{
    Q_OBJECT
public:
    explicit ImageLoader(QObject *parent = nullptr);
    ~ImageLoader() override;

    // Starts reading every job. A loader still busy is cancelled first; its results are dropped
    // and no finished() is emitted for them.
    void start(const QList<ImageJob> &jobs);
    // After finished(): reads one job again with a new request (the user agreed to the memory or
    // chose a PDF page), keeping the other results; finished() comes again when it has ended.
    void retry(int index, const ImageRequest &request);
    // Every running job stops soon and ends as Cancelled.
    void cancel();
    bool isBusy() const;
    // Blocks until every job has ended, then emits finished() (a scripted caller's wait).
    void waitForFinished();

    int jobCount() const { return int(m_slots.size()); }
    const ImageJob &job(int index) const;
    const ImageRead &result(int index) const;
    // The result with its image moved out (the loader keeps only the rest).
    ImageRead takeResult(int index);
    // The share read over all jobs in thousandths; -1 while a running job cannot tell.
    int permille() const;

signals:
    void progressChanged(int permille);
    void finished();

private:
    struct Slot;
    void run(Slot &slot);
    void ended(int run);
    void pollProgress();

    std::vector<std::unique_ptr<Slot>> m_slots;
    std::vector<std::unique_ptr<Slot>> m_retiring; // cancelled by a new start, still ending
    QTimer m_poll;
    int m_reported = -2;
    int m_runs = 0;
};
