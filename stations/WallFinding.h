#pragma once

#include "stations/PassageWalls.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>
#include <utility>
#include <vector>

// Find Walls over every station of every sheet, off the window's thread: the searches are copied
// out of the document first (PassageWalls::wallSearch), a sheet whose scan is not held is read
// here, and the window is told how far it got, so it never waits and Esc stops it.
class WallFinding : public QObject
{
    Q_OBJECT
public:
    struct Found
    {
        int index = 0;
        Station searched;              // the station as it was when the search began
        PassageDimensions dimensions;  // its known values and those the scans answered
    };
    struct Result
    {
        std::vector<Found> found;
        int unsure = 0;         // values looked for and left empty (noise, nothing bounding the passage)
        bool cancelled = false;
    };

    explicit WallFinding(QObject *parent = nullptr);
    ~WallFinding() override;

    // The searches for every station with an unknown value.
    static std::vector<std::pair<int, PassageWalls::WallSearch>> searches(const SurveyDocument &document);

    void start(std::vector<std::pair<int, PassageWalls::WallSearch>> searches, const StationTable &stations);
    void cancel();
    bool isRunning() const { return m_thread != nullptr; }
    int done() const { return m_done.load(); }
    int total() const { return m_total; }
    // After finished(): what was found.
    const Result &result() const { return m_result; }

signals:
    void finished();

private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_done{0};
    int m_total = 0;
    Result m_result;
};
