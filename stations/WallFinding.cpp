#include "stations/WallFinding.h"

#include "views/ImageFile.h"

#include <algorithm>
#include <limits>

namespace {

// The scan of a sheet the window let go, read again for the search; the last two are kept, as the
// stations come sheet by sheet.
class Scans
{
public:
    QImage get(const ScanSource &source)
    {
        for (const auto &[kept, image] : m_kept)
            if (kept == source)
                return image;
        // The user agreed to its memory when it was opened.
        const ImageRequest request =
            ImageRequest::again(source.pdfPage, source.pdfDotsPerInch, std::numeric_limits<qint64>::max());
        QImage image = ImageFile::read(source.path, request).image;
        m_kept.insert(m_kept.begin(), {source, image});
        if (m_kept.size() > 2)
            m_kept.pop_back();
        return image;
    }

private:
    std::vector<std::pair<ScanSource, QImage>> m_kept;
};

} // namespace

WallFinding::WallFinding(QObject *parent) : QObject(parent) {}

WallFinding::~WallFinding()
{
    cancel();
    if (m_thread)
        m_thread->wait();
}

std::vector<std::pair<int, PassageWalls::WallSearch>> WallFinding::searches(const SurveyDocument &document)
{
    std::vector<std::pair<int, PassageWalls::WallSearch>> all;
    const StationTable &stations = document.stations();
    for (int i = 0; i < stations.count(); ++i) {
        const PassageDimensions &d = stations.at(i).dimensions;
        if (d.left && d.right && d.up && d.down)
            continue;
        all.emplace_back(i, PassageWalls::wallSearch(document, i));
    }
    // Sheet by sheet, so each scan not held is read once.
    std::stable_sort(all.begin(), all.end(), [](const auto &a, const auto &b) {
        return std::pair(a.second.planSource.path, a.second.profileSource.path)
            < std::pair(b.second.planSource.path, b.second.profileSource.path);
    });
    return all;
}

void WallFinding::start(std::vector<std::pair<int, PassageWalls::WallSearch>> searches, const StationTable &stations)
{
    cancel();
    if (m_thread)
        m_thread->wait();
    m_cancel = false;
    m_done = 0;
    m_total = int(searches.size());
    m_result = Result();
    std::vector<Station> searched;
    for (const auto &[index, search] : searches)
        searched.push_back(stations.at(index));
    m_thread.reset(QThread::create([this, searches = std::move(searches), searched = std::move(searched)]() mutable {
        Scans scans;
        for (size_t n = 0; n < searches.size() && !m_cancel; ++n) {
            auto &[index, search] = searches[n];
            if (search.plan.isNull() && !search.planSource.path.isEmpty())
                search.plan = scans.get(search.planSource);
            if (search.profile.isNull() && !search.profileSource.path.isEmpty())
                search.profile = scans.get(search.profileSource);
            const PassageWalls::WallsFound walls = PassageWalls::findWalls(search, &m_cancel);
            if (walls.cancelled)
                break;
            m_result.unsure += walls.unsure;
            if (walls.dimensions != searched[n].dimensions && walls.dimensions.allowed())
                m_result.found.push_back({index, searched[n], walls.dimensions});
            ++m_done;
        }
        m_result.cancelled = m_cancel;
    }));
    connect(m_thread.get(), &QThread::finished, this, [this] {
        m_thread->wait();
        m_thread.reset();
        emit finished();
    });
    m_thread->start();
}

void WallFinding::cancel()
{
    m_cancel = true;
}
