#include "TPictureCache.h"

#include "TCardArtist.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <chrono>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// Whether the cache still stands: an application object that outlives it (one made before it
// among the statics) must not stop its worker after the cache has gone.
std::atomic<bool> cacheStands = false;

void StopPictureWorker() {
    if (cacheStands)
        TPictureCache::Shared().Stop();
}
constexpr std::chrono::seconds IdleRelease(2);

// The drawing's large scratch pictures are gone; their memory goes back to the system rather
// than staying with this thread for good.
void ReturnFreeMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}
} // namespace

TPictureCache& TPictureCache::Shared() {
    // The artist is made first, so that it outlives the cache whose worker uses it.
    TCardArtist::Shared();
    static TPictureCache cache;
    return cache;
}

TPictureCache::TPictureCache() : home(std::make_unique<QObject>()) {
    cacheStands = true;
    // The worker stops while the application still stands, not among the static destructors.
    if (QCoreApplication::instance())
        qAddPostRoutine(StopPictureWorker);
}

TPictureCache::~TPictureCache() {
    cacheStands = false;
    Stop();
}

void TPictureCache::Stop() {
    {
        const std::lock_guard<std::mutex> hold(lock);
        stopping = true;
        queue.clear();
    }
    wake.notify_all();
    if (worker.joinable())
        worker.join();
    idle.notify_all();
}

std::shared_ptr<TCardPictures> TPictureCache::Set(QSize card, qreal ratio) {
    const std::lock_guard<std::mutex> hold(lock);
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->card == card && it->ratio == ratio) {
            entries.splice(entries.begin(), entries, it);
            return it->set;
        }
    }
    entries.push_front({card, ratio, std::make_shared<TCardPictures>(card, ratio, store)});
    std::shared_ptr<TCardPictures> set = entries.front().set;
    Evict();
    return set;
}

void TPictureCache::Evict() {
    // Sets in use are never let go; of the others, the most recently used stay within the budget.
    size_t kept = 0;
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->set.use_count() > 1) {
            ++it;
            continue;
        }
        kept += it->set->Bytes();
        if (kept > Budget)
            it = entries.erase(it);
        else
            ++it;
    }
}

std::shared_ptr<TPictureJob> TPictureCache::Complete(std::shared_ptr<TCardPictures> set, int back,
                                                     std::function<void()> ready) {
    auto job = std::make_shared<TPictureJob>(std::move(set), back, std::move(ready));
    {
        const std::lock_guard<std::mutex> hold(lock);
        if (stopping)
            return job;
        queue.push_back(job);
        if (!worker.joinable())
            worker = std::thread([this] { Work(); });
    }
    wake.notify_one();
    return job;
}

void TPictureCache::UseStore(std::shared_ptr<const TPictureStore> keep) {
    const std::lock_guard<std::mutex> hold(lock);
    store = std::move(keep);
}

void TPictureCache::Hold(bool on) {
    {
        const std::lock_guard<std::mutex> hold(lock);
        held = on;
    }
    wake.notify_all();
    idle.notify_all();
}

void TPictureCache::WaitIdle() {
    std::unique_lock<std::mutex> hold(lock);
    idle.wait(hold, [this] { return stopping || (!busy && (held || queue.empty())); });
}

void TPictureCache::Work() {
    for (;;) {
        std::shared_ptr<TPictureJob> job;
        {
            std::unique_lock<std::mutex> hold(lock);
            busy = false;
            if (queue.empty())
                idle.notify_all();
            // A while without work: the deck read into memory is let go until it is needed again.
            if (!wake.wait_for(hold, IdleRelease, [this] { return stopping || (!held && !queue.empty()); })) {
                const bool stored = store != nullptr;
                hold.unlock();
                TCardArtist::Shared().Release(stored);
                ReturnFreeMemory();
                hold.lock();
                wake.wait(hold, [this] { return stopping || (!held && !queue.empty()); });
            }
            if (stopping)
                return;
            job = queue.front().lock();
            queue.pop_front();
            busy = job != nullptr;
        }
        if (!job || job->Cancelled())
            continue;
        bool done = true;
        for (int value = 0; value < 52 && done; ++value) {
            done = !job->Cancelled() && !stopping;
            if (done)
                job->Set->Face(value);
        }
        if (!done)
            continue;
        job->Set->Back(job->BackIndex);
        ReturnFreeMemory();
        // Told on the listener's own thread, if it still wants to know by then.
        std::weak_ptr<TPictureJob> asked = job;
        QMetaObject::invokeMethod(
            home.get(),
            [asked] {
                if (const std::shared_ptr<TPictureJob> j = asked.lock(); j && !j->Cancelled())
                    j->Ready();
            },
            Qt::QueuedConnection);
    }
}
