#include "platform/device/Scheduler.h"

#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using namespace device;

namespace {

// Flips a flag when destroyed, so a test can see when a task's captures go.
struct DestructionWitness {
    explicit DestructionWitness(bool& flag)
        : destroyed(&flag)
    {
    }
    ~DestructionWitness() { *destroyed = true; }
    bool* destroyed;
};

} // namespace

TEST(Scheduler, runsWorkInOrderOfDueTimeThenPosting)
{
    Scheduler scheduler;
    DispatchQueue main(scheduler, "main");
    DispatchQueue other(scheduler, "other");
    std::vector<std::string> order;
    main.after(2, [&] { order.push_back("main at 2"); });
    other.after(1, [&] { order.push_back("other at 1"); });
    main.async([&] { order.push_back("main now"); });
    other.async([&] { order.push_back("other now"); });
    main.after(1, [&] { order.push_back("main at 1"); });

    EXPECT_TRUE(scheduler.advance(3, 100));
    EXPECT_EQ(order, (std::vector<std::string> { "main now", "other now", "other at 1", "main at 1", "main at 2" }));
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST(Scheduler, workPostedWhileRunningWaitsForALaterTurn)
{
    Scheduler scheduler;
    DispatchQueue queue(scheduler, "main");
    std::vector<std::string> order;
    queue.async([&] {
        order.push_back("first");
        queue.async([&] { order.push_back("posted by first"); });
        queue.after(0, [&] { order.push_back("posted with no delay"); });
        queue.after(-5, [&] { order.push_back("posted with a negative delay"); });
        order.push_back("first ends");
    });
    queue.async([&] { order.push_back("second"); });

    // Posting never runs anything by itself.
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(scheduler.runDue(100));
    EXPECT_EQ(order,
        (std::vector<std::string> { "first", "first ends", "second", "posted by first", "posted with no delay",
            "posted with a negative delay" }));
    EXPECT_DOUBLE_EQ(scheduler.now(), 0);
}

TEST(Scheduler, neverRunsReentrantly)
{
    Scheduler scheduler;
    DispatchQueue queue(scheduler, "main");
    bool innerRan = false;
    bool nestedAnswer = true;
    queue.async([&] {
        queue.async([&] { innerRan = true; });
        nestedAnswer = scheduler.runDue(100) || scheduler.advance(1, 100);
        EXPECT_FALSE(innerRan);
        EXPECT_TRUE(scheduler.isRunningTask());
    });
    EXPECT_TRUE(scheduler.runDue(100));
    EXPECT_FALSE(nestedAnswer);
    EXPECT_TRUE(innerRan);
    EXPECT_FALSE(scheduler.isRunningTask());
    EXPECT_DOUBLE_EQ(scheduler.now(), 0);
}

TEST(Scheduler, advanceRunsTimersAtTheirOwnTimes)
{
    Scheduler scheduler;
    DispatchQueue queue(scheduler, "main");
    std::vector<double> seen;
    queue.after(0.5, [&] {
        seen.push_back(scheduler.now());
        // A timer set by a timer still falls within this advance.
        queue.after(0.25, [&] { seen.push_back(scheduler.now()); });
    });
    queue.after(1.5, [&] { seen.push_back(scheduler.now()); });

    EXPECT_TRUE(scheduler.advance(1, 100));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_DOUBLE_EQ(seen[0], 0.5);
    EXPECT_DOUBLE_EQ(seen[1], 0.75);
    EXPECT_DOUBLE_EQ(scheduler.now(), 1);
    EXPECT_EQ(scheduler.nextDueTime(), 1.5);

    EXPECT_TRUE(scheduler.advanceTo(2, 100));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_DOUBLE_EQ(seen[2], 1.5);
    EXPECT_DOUBLE_EQ(scheduler.now(), 2);

    // The clock never runs backwards, and nonsense times are refused.
    EXPECT_TRUE(scheduler.advanceTo(1, 100));
    EXPECT_DOUBLE_EQ(scheduler.now(), 2);
    EXPECT_TRUE(scheduler.advance(-1, 100));
    EXPECT_DOUBLE_EQ(scheduler.now(), 2);
    EXPECT_FALSE(scheduler.advanceTo(std::numeric_limits<double>::infinity(), 100));
    EXPECT_FALSE(scheduler.advance(std::numeric_limits<double>::quiet_NaN(), 100));
    EXPECT_DOUBLE_EQ(scheduler.now(), 2);
}

TEST(Scheduler, decimalDelaysMeetTheTimeTheyAddUpTo)
{
    Scheduler scheduler;
    DispatchQueue queue(scheduler, "main");
    bool ran = false;
    queue.after(0.1, [&] { queue.after(0.2, [&] { ran = true; }); });
    EXPECT_TRUE(scheduler.advanceTo(0.1, 100));
    EXPECT_TRUE(scheduler.advanceTo(0.3, 100));
    EXPECT_TRUE(ran);
}

TEST(Scheduler, boundStopsRunawayLoops)
{
    Scheduler scheduler;
    DispatchQueue queue(scheduler, "main");
    int runs = 0;
    std::function<void()> again = [&] {
        ++runs;
        queue.async([&] { again(); });
    };
    queue.async([&] { again(); });
    EXPECT_FALSE(scheduler.runDue(50));
    EXPECT_EQ(runs, 50);
    EXPECT_EQ(scheduler.pendingCount(), 1u);

    // A timer that keeps re-arming itself for the same time stops advance too,
    // leaving the clock where the loop was.
    Scheduler timers;
    DispatchQueue timerQueue(timers, "timers");
    std::function<void()> rearm = [&] { timerQueue.after(0, [&] { rearm(); }); };
    timerQueue.after(1, [&] { rearm(); });
    EXPECT_FALSE(timers.advance(10, 20));
    EXPECT_DOUBLE_EQ(timers.now(), 1);

    // Exactly the bound, with nothing left, is not a runaway.
    Scheduler exact;
    DispatchQueue exactQueue(exact, "exact");
    for (int i = 0; i < 3; ++i)
        exactQueue.async([] {});
    EXPECT_TRUE(exact.runDue(3));
}

TEST(Scheduler, closingAQueueDestroysItsPendingWorkAtOnce)
{
    Scheduler scheduler;
    DispatchQueue closing(scheduler, "closing");
    DispatchQueue staying(scheduler, "staying");
    bool pendingDestroyed = false;
    bool timerDestroyed = false;
    bool ran = false;
    bool stayingRan = false;
    closing.async([witness = std::make_shared<DestructionWitness>(pendingDestroyed), &ran] { ran = true; });
    closing.after(5, [witness = std::make_shared<DestructionWitness>(timerDestroyed), &ran] { ran = true; });
    staying.async([&] { stayingRan = true; });
    EXPECT_EQ(scheduler.pendingCount(closing), 2u);

    closing.close();
    EXPECT_TRUE(pendingDestroyed);
    EXPECT_TRUE(timerDestroyed);
    EXPECT_FALSE(closing.isOpen());
    EXPECT_EQ(scheduler.pendingCount(), 1u);

    // Work posted to a closed queue is destroyed unrun, sync work included.
    bool lateDestroyed = false;
    closing.async([witness = std::make_shared<DestructionWitness>(lateDestroyed), &ran] { ran = true; });
    EXPECT_TRUE(lateDestroyed);
    closing.sync([&] { ran = true; });

    EXPECT_TRUE(scheduler.advance(10, 100));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(stayingRan);
}

TEST(Scheduler, cancelFromATaskLeavesTheRunningTaskAlone)
{
    Scheduler scheduler;
    DispatchQueue queue(scheduler, "main");
    bool capturedAlive = false;
    bool laterRan = false;
    bool witnessFlag = false;
    queue.async([&, witness = std::make_shared<DestructionWitness>(witnessFlag)] {
        EXPECT_EQ(scheduler.cancel(queue), 1u);
        capturedAlive = !witnessFlag;
    });
    queue.async([&] { laterRan = true; });
    EXPECT_TRUE(scheduler.runDue(100));
    EXPECT_TRUE(capturedAlive);
    EXPECT_FALSE(laterRan);
    EXPECT_TRUE(witnessFlag);
}
