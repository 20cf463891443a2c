// The receive loop's pause: how its wake lead follows the wakes, and that it never ends early.
#include "net/pass_pause.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(PassPause, LeadFollowsEarlierWakesAtOnceAndLaterOnesSlowly) {
    EXPECT_EQ(120, kv::NextWakeLead(300, 120, 1000));
    EXPECT_EQ(200, kv::NextWakeLead(100, 900, 1000)) << "an eighth of the gap";
    EXPECT_EQ(1000, kv::NextWakeLead(950, 5000, 1000)) << "never past the limit";
    EXPECT_EQ(0, kv::NextWakeLead(100, -50, 1000)) << "a wake before the time asked for";
}

TEST(PassPause, NeverShorterThanAsked) {
    LARGE_INTEGER frequency, before, after;
    ::QueryPerformanceFrequency(&frequency);
    kv::PassPause pause;
    // Enough passes for the lead to be learnt and used.
    for (int pass = 0; pass < 20; ++pass) {
        ::QueryPerformanceCounter(&before);
        pause.Take(10);
        ::QueryPerformanceCounter(&after);
        // The pause counts whole microseconds of the same counter.
        EXPECT_GE((after.QuadPart - before.QuadPart) * 1000000 / frequency.QuadPart, 9999) << pass;
    }
}

}  // namespace
