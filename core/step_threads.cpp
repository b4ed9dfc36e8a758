#include "core/step_threads.h"

#include <system_error>

namespace tavik {

namespace {

// A step takes a millisecond or so: a waiting thread first spins for about a tenth of that,
// so that the next step finds it awake, and then sleeps.
constexpr int kSpins = 4000;

inline void Pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

template <class T, class Done>
void Await(const std::atomic<T>& a, Done done) {
    for (int i = 0; i < kSpins; ++i) {
        if (done(a.load(std::memory_order_acquire))) return;
        Pause();
    }
    for (T v = a.load(std::memory_order_acquire); !done(v); v = a.load(std::memory_order_acquire))
        a.wait(v, std::memory_order_acquire);
}

}  // namespace

StepThreads::StepThreads(int threads) {
    for (int part = 1; part < threads; ++part) {
        try {
            helpers_.emplace_back([this, part] { Help(part); });
        } catch (const std::system_error&) {
            break;  // no more threads to be had: fewer parts
        }
    }
    parts_ = static_cast<int>(helpers_.size()) + 1;
}

StepThreads::~StepThreads() {
    stop_ = true;
    round_.fetch_add(1, std::memory_order_release);
    round_.notify_all();
    for (std::thread& t : helpers_) t.join();
}

void StepThreads::Help(int part) {
    std::uint32_t seen = 0;
    for (;;) {
        Await(round_, [&](std::uint32_t r) { return r != seen; });
        seen = round_.load(std::memory_order_acquire);
        if (stop_) return;
        fn_(step_, part);
        if (pending_.fetch_sub(1, std::memory_order_acq_rel) == 1) pending_.notify_one();
    }
}

void StepThreads::RunParts(PartFn fn, void* step) {
    if (parts_ == 1) {
        fn(step, 0);
        return;
    }
    fn_ = fn;
    step_ = step;
    pending_.store(parts_ - 1, std::memory_order_relaxed);
    round_.fetch_add(1, std::memory_order_release);
    round_.notify_all();
    fn(step, 0);
    Await(pending_, [](int n) { return n == 0; });
}

}  // namespace tavik
