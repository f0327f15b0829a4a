#include "map/parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace Vantar {

namespace {

std::atomic<int> g_threads{0};

} // namespace

int workerThreads()
{
    const int set = g_threads.load();
    if (set > 0)
        return set;
    return std::max(1, int(std::thread::hardware_concurrency()));
}

void setWorkerThreads(int iThreads)
{
    g_threads.store(std::max(0, iThreads));
}

void keepLargeBuffers()
{
    static std::once_flag once;
    std::call_once(once, [] {
#if defined(__GLIBC__)
        mallopt(M_MMAP_THRESHOLD, 64 << 20);
        mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
    });
}

void releaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

bool runTasks(int count, const std::function<bool(int)>& task, const std::function<bool(int)>& progress)
{
    if (count <= 0)
        return true;
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable changed;
    int finished = 0;
    int running = 0;

    auto work = [&] {
        for (;;) {
            if (stop.load())
                break;
            const int index = next.fetch_add(1);
            if (index >= count)
                break;
            bool ok = false;
            try {
                ok = task(index);
            } catch (...) {
                ok = false; // out of memory inside a task: the step fails, nothing escapes
            }
            if (!ok)
                stop.store(true);
            std::lock_guard<std::mutex> lock(mutex);
            ++finished;
            changed.notify_all();
        }
        std::lock_guard<std::mutex> lock(mutex);
        --running;
        changed.notify_all();
    };

    const int threads = std::min(workerThreads(), count);
    std::vector<std::thread> pool;
    pool.reserve(size_t(threads));
    {
        std::lock_guard<std::mutex> lock(mutex);
        running = threads;
    }
    for (int t = 0; t < threads; ++t) {
        try {
            pool.emplace_back(work);
        } catch (...) {
            // No thread to be had: fewer workers, or the caller does the work itself.
            std::lock_guard<std::mutex> lock(mutex);
            running -= threads - t;
            break;
        }
    }
    if (pool.empty()) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            running = 1;
        }
        // Runs every task on this thread; progress follows each one.
        for (;;) {
            if (stop.load())
                break;
            const int index = next.fetch_add(1);
            if (index >= count)
                break;
            bool ok = false;
            try {
                ok = task(index);
            } catch (...) {
                ok = false;
            }
            if (!ok)
                stop.store(true);
            ++finished;
            if (progress && !progress(finished))
                stop.store(true);
        }
        return !stop.load() && finished == count;
    }

    int reported = 0;
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [&] { return finished != reported || running == 0; });
        const int now = finished;
        const bool done = running == 0;
        if (now != reported && progress) {
            lock.unlock();
            for (int k = reported + 1; k <= now; ++k) // every count once, in order
                if (!progress(k)) {
                    stop.store(true);
                    break;
                }
            lock.lock();
        }
        reported = now;
        if (done && finished == reported)
            break;
    }
    lock.unlock();
    for (std::thread& t : pool)
        t.join();
    return !stop.load() && finished == count;
}

} // namespace Vantar
