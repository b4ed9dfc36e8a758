// Work on numbered chunks spread over threads, with the results taken up in chunk order on
// the calling thread: the reading of relevé records runs on every core while what the user
// sees (counters, marks, columns) follows the records one by one, as in a single pass.
#pragma once

#include <functional>

namespace tavik {

// How many threads the passes use: the cores of the machine, at most a few.
int WorkerThreads();

// Runs work(c) for the chunks c = 0 .. count-1 on up to `threads` threads (on the calling
// thread alone when threads <= 1), and take(c) on the calling thread for c = 0, 1, ... in
// order, each after work(c) has finished. At most `ahead` chunks are worked on beyond the
// one being taken, which bounds the memory their results hold: work(c) begins only after
// take(c - ahead) has returned (with `ahead` at least `threads`), so it may use what that
// take did.
//
// take(c) returning false ends the pass: no later chunk is taken, and the threads stop
// after the chunk they are on. An exception thrown by work(c) is thrown again on the calling
// thread in place of take(c), once every earlier chunk has been taken.
void RunOrderedChunks(int count, int threads, int ahead, const std::function<void(int)>& work,
                      const std::function<bool(int)>& take);

}  // namespace tavik
