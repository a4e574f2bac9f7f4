#include "views/ImageLoader.h"

#include <QThread>

struct ImageLoader::Slot
{
    ImageJob job;
    ImageRead result;
    std::unique_ptr<ReadControl> control;
    std::unique_ptr<QThread> thread;
    int run = 0; // which reading a thread's end belongs to (unique in the loader)
};

ImageLoader::ImageLoader(QObject *parent) : QObject(parent)
{
    m_poll.setInterval(40);
    connect(&m_poll, &QTimer::timeout, this, &ImageLoader::pollProgress);
}

ImageLoader::~ImageLoader()
{
    for (auto *list : {&m_slots, &m_retiring})
        for (const auto &slot : *list)
            if (slot->thread) {
                slot->control->cancel();
                slot->thread->wait();
            }
}

void ImageLoader::start(const QList<ImageJob> &jobs)
{
    for (auto &slot : m_slots) {
        if (slot->thread) {
            slot->control->cancel();
            m_retiring.push_back(std::move(slot));
        }
    }
    m_slots.clear();
    for (const ImageJob &job : jobs) {
        auto slot = std::make_unique<Slot>();
        slot->job = job;
        m_slots.push_back(std::move(slot));
    }
    m_reported = -2;
    for (auto &slot : m_slots)
        run(*slot);
    if (m_slots.empty())
        emit finished();
}

void ImageLoader::retry(int index, const ImageRequest &request)
{
    Slot &slot = *m_slots[size_t(index)];
    if (slot.thread)
        return;
    slot.job.request = request;
    m_reported = -2;
    run(slot);
}

void ImageLoader::run(Slot &slot)
{
    slot.result = ImageRead();
    slot.control = std::make_unique<ReadControl>();
    const int run = ++m_runs;
    slot.run = run;
    Slot *target = &slot;
    ReadControl *control = slot.control.get();
    const ImageJob job = slot.job;
    slot.thread.reset(QThread::create([target, control, job] {
        target->result = ImageFile::read(job.path, job.request, control);
    }));
    // The end is looked up by its number: the slot may be gone by the time it is delivered.
    connect(slot.thread.get(), &QThread::finished, this, [this, run] { ended(run); });
    slot.thread->start();
    if (!m_poll.isActive())
        m_poll.start();
    pollProgress();
}

void ImageLoader::ended(int run)
{
    for (auto it = m_retiring.begin(); it != m_retiring.end(); ++it) {
        if ((*it)->run == run) {
            (*it)->thread->wait();
            m_retiring.erase(it);
            return;
        }
    }
    Slot *slot = nullptr;
    for (const auto &candidate : m_slots)
        if (candidate->run == run && candidate->thread)
            slot = candidate.get();
    if (!slot)
        return; // already seen through waitForFinished(), or dropped by a new start()
    slot->thread->wait();
    slot->thread.reset();
    if (isBusy())
        return;
    m_poll.stop();
    pollProgress();
    emit finished();
}

void ImageLoader::cancel()
{
    for (const auto &slot : m_slots)
        if (slot->thread)
            slot->control->cancel();
}

bool ImageLoader::isBusy() const
{
    for (const auto &slot : m_slots)
        if (slot->thread)
            return true;
    return false;
}

void ImageLoader::waitForFinished()
{
    if (!isBusy())
        return;
    for (const auto &slot : m_slots) {
        if (slot->thread) {
            slot->thread->wait();
            slot->thread.reset();
        }
    }
    m_poll.stop();
    pollProgress();
    emit finished();
}

const ImageJob &ImageLoader::job(int index) const
{
    return m_slots[size_t(index)]->job;
}

const ImageRead &ImageLoader::result(int index) const
{
    return m_slots[size_t(index)]->result;
}

ImageRead ImageLoader::takeResult(int index)
{
    ImageRead result = m_slots[size_t(index)]->result;
    m_slots[size_t(index)]->result.image = QImage();
    return result;
}

int ImageLoader::permille() const
{
    if (m_slots.empty())
        return 1000;
    int sum = 0;
    for (const auto &slot : m_slots) {
        if (!slot->thread) {
            sum += 1000;
            continue;
        }
        const int share = slot->control->permille();
        if (share < 0)
            return -1;
        sum += share;
    }
    return sum / int(m_slots.size());
}

void ImageLoader::pollProgress()
{
    const int now = permille();
    if (now != m_reported) {
        m_reported = now;
        emit progressChanged(now);
    }
}
