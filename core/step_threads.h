// A few threads kept for a loop of many short steps, each step split into parts that run
// at the same time: the averaging's iterations, where starting threads at every step would
// cost more than the step itself.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace tavik {

class StepThreads {
public:
    // `threads` parts per step (at least 1): part 0 runs on the calling thread, the others
    // on helper threads that live as long as the object.
    explicit StepThreads(int threads);
    ~StepThreads();
    StepThreads(const StepThreads&) = delete;
    StepThreads& operator=(const StepThreads&) = delete;

    int Parts() const { return parts_; }

    // Calls step(part) for every part and returns when all have returned. Nothing is
    // allocated per call. The step must not throw.
    template <class Step>
    void Run(Step& step) {
        RunParts([](void* s, int part) { (*static_cast<Step*>(s))(part); }, &step);
    }

private:
    using PartFn = void (*)(void*, int);
    void RunParts(PartFn fn, void* step);
    void Help(int part);

    int parts_ = 1;
    std::vector<std::thread> helpers_;
    PartFn fn_ = nullptr;
    void* step_ = nullptr;
    std::atomic<std::uint32_t> round_{0};  // bumped for every step, and to stop
    std::atomic<int> pending_{0};          // helper parts of the current step not yet done
    bool stop_ = false;
};

}  // namespace tavik
