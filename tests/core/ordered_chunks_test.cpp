// Chunks worked on by several threads are taken up in order, once each, after their work.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "core/ordered_chunks.h"

namespace tavik {
namespace {

TEST(OrderedChunks, TakenInOrderAfterTheirWorkOnAnyNumberOfThreads) {
    for (int threads : {1, 2, 4}) {
        std::vector<int> result(100, -1), taken;
        RunOrderedChunks(
            100, threads, 3, [&](int c) { result[static_cast<std::size_t>(c)] = c * c; },
            [&](int c) {
                EXPECT_EQ(result[static_cast<std::size_t>(c)], c * c);
                taken.push_back(c);
                return true;
            });
        ASSERT_EQ(taken.size(), 100u) << threads;
        for (int c = 0; c < 100; ++c) EXPECT_EQ(taken[static_cast<std::size_t>(c)], c);
    }
}

TEST(OrderedChunks, StoppingEndsThePassAndWorkStaysWithinReach) {
    std::atomic<int> worked{0};
    std::vector<int> taken;
    RunOrderedChunks(
        1000, 2, 4, [&](int) { ++worked; },
        [&](int c) {
            taken.push_back(c);
            return c < 9;
        });
    EXPECT_EQ(taken.size(), 10u);
    // Only the chunks within reach of the one taken last were worked on.
    EXPECT_LE(worked.load(), 10 + 4 + 2);
}

TEST(OrderedChunks, AFailedChunkIsReportedAfterTheChunksBeforeIt) {
    for (int threads : {1, 2}) {
        std::vector<int> taken;
        EXPECT_THROW(RunOrderedChunks(
                         50, threads, 4,
                         [&](int c) {
                             if (c == 7) throw std::runtime_error("chunk 7");
                         },
                         [&](int c) {
                             taken.push_back(c);
                             return true;
                         }),
                     std::runtime_error);
        EXPECT_EQ(taken.size(), 7u) << threads;
    }
}

}  // namespace
}  // namespace tavik
