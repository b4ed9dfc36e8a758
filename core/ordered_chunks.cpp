#include "core/ordered_chunks.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tavik {

int WorkerThreads() {
    const unsigned n = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(n, 1u, 8u));
}

void RunOrderedChunks(int count, int threads, int ahead, const std::function<void(int)>& work,
                      const std::function<bool(int)>& take) {
    if (count <= 0) return;
    threads = std::min(threads, count);
    if (threads <= 1) {
        for (int c = 0; c < count; ++c) {
            work(c);
            if (!take(c)) return;
        }
        return;
    }
    ahead = std::max(ahead, threads);

    std::mutex m;
    std::condition_variable changed;
    std::vector<char> done(static_cast<std::size_t>(count), 0);
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(count));
    int next = 0;    // the next chunk to work on
    int taking = 0;  // the chunk the calling thread waits for or takes
    bool stop = false;

    auto worker = [&] {
        for (;;) {
            int c;
            {
                std::unique_lock lock(m);
                changed.wait(lock, [&] { return stop || next >= count || next < taking + ahead; });
                if (stop || next >= count) return;
                c = next++;
            }
            std::exception_ptr error;
            try {
                work(c);
            } catch (...) {
                error = std::current_exception();
            }
            {
                std::lock_guard lock(m);
                done[static_cast<std::size_t>(c)] = 1;
                errors[static_cast<std::size_t>(c)] = error;
            }
            changed.notify_all();
        }
    };

    std::vector<std::thread> pool;
    pool.reserve(static_cast<std::size_t>(threads));
    auto finish = [&] {
        {
            std::lock_guard lock(m);
            stop = true;
        }
        changed.notify_all();
        for (std::thread& t : pool) t.join();
    };
    try {
        for (int i = 0; i < threads; ++i) pool.emplace_back(worker);
        for (int c = 0; c < count; ++c) {
            std::exception_ptr error;
            {
                std::unique_lock lock(m);
                changed.wait(lock, [&] { return done[static_cast<std::size_t>(c)] != 0; });
                error = errors[static_cast<std::size_t>(c)];
            }
            if (error) std::rethrow_exception(error);
            const bool more = take(c);
            {
                std::lock_guard lock(m);
                taking = c + 1;
            }
            changed.notify_all();
            if (!more) break;
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

}  // namespace tavik
