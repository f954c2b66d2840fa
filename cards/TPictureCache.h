#pragma once

#include "TCardPictures.h"
#include "TPictureStore.h"

#include <QObject>
#include <QSize>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

// A request to the worker: make every face and one back of a set, then tell the one who asked.
// Whoever holds it may cancel it; cancelled, it is dropped, and its listener is never called.
class TPictureJob {
public:
    TPictureJob(std::shared_ptr<TCardPictures> set, int back, std::function<void()> ready)
        : Set(std::move(set)), BackIndex(back), Ready(std::move(ready)) {}
    // Only from the thread the listener runs on.
    void Cancel() { cancelled = true; }
    bool Cancelled() const { return cancelled; }

    const std::shared_ptr<TCardPictures> Set;
    const int BackIndex;
    const std::function<void()> Ready;

private:
    std::atomic<bool> cancelled = false;
};

// The card pictures of the program, kept by card size and pixel ratio, and the one worker thread
// that draws them, so that a new size never keeps the table waiting: until a set is complete
// the deck draws what it has, and it is told when the rest is ready. Sets no deck holds any more
// stay for a while in case their size comes back, within a memory budget.
class TPictureCache {
public:
    static TPictureCache& Shared();
    ~TPictureCache();
    TPictureCache(const TPictureCache&) = delete;
    TPictureCache& operator=(const TPictureCache&) = delete;

    // The set for a card size (logical pixels) and pixel ratio, kept or new.
    std::shared_ptr<TCardPictures> Set(QSize card, qreal ratio);
    // Has the worker make every face and the back of the set; then `ready` runs on the thread
    // the cache was made on (the program's main thread, in its event loop), unless the job was
    // cancelled. Keep the job to cancel it.
    std::shared_ptr<TPictureJob> Complete(std::shared_ptr<TCardPictures> set, int back, std::function<void()> ready);
    // Keeps pictures on disk from now on (the program's own cache; tests draw afresh).
    void UseStore(std::shared_ptr<const TPictureStore> store);
    // While held, the worker takes no new job (the program holds it until its window is up).
    void Hold(bool on);
    // Waits until the worker has nothing left to do, or is held.
    void WaitIdle();
    // Stops the worker (at the end of the program); later jobs are not done.
    void Stop();

    // Memory of sets no deck uses that is kept.
    static constexpr size_t Budget = size_t(48) << 20;

private:
    TPictureCache();
    void Work();
    void Evict();

    struct Entry {
        QSize card;
        qreal ratio;
        std::shared_ptr<TCardPictures> set;
    };
    std::mutex lock;
    std::condition_variable wake;
    std::condition_variable idle;
    std::list<Entry> entries; // most recently used first
    std::shared_ptr<const TPictureStore> store;
    std::deque<std::weak_ptr<TPictureJob>> queue;
    bool busy = false;
    bool held = false;
    std::atomic<bool> stopping = false;
    std::thread worker;
    // Lives on the thread the cache was made on; listeners are called through it.
    std::unique_ptr<QObject> home;
};
