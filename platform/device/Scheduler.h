#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/device/Task.h"

namespace device {

class Scheduler;

// A serial queue of the device: a process's main queue or a named queue.
// Every queue runs on the device's one scheduler, so serial order holds by
// construction and nothing needs a lock. A queue must not outlive its
// scheduler; destroying it drops its pending work.
class DispatchQueue {
public:
    DispatchQueue(Scheduler&, std::string label);
    ~DispatchQueue();
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    const std::string& label() const { return m_label; }
    Scheduler& scheduler() const { return *m_scheduler; }

    // Runs `task` on a later turn, after the work already due.
    void async(Task task);
    // Runs `task` once `delay` seconds of device time have passed (at once
    // for zero or negative delays, still on a later turn).
    void after(double delay, Task task);
    // Runs `task` now, on the caller's turn, as dispatch_sync does on an idle
    // queue. A closed queue drops it.
    void sync(Task task);

    // Closes the queue for good (its process ends): its pending work is
    // destroyed at once, and work posted later is destroyed unrun.
    void close();
    bool isOpen() const { return m_open; }

private:
    Scheduler* m_scheduler;
    std::string m_label;
    bool m_open { true };
};

// The device's clock and its list of pending work. Time is virtual: it moves
// only when asked to, and work falls due in the order of its due time, then
// of its posting. Work is taken out of the list before it runs, so work
// posted while running waits for a later turn; nothing runs re-entrantly.
class Scheduler {
public:
    static constexpr size_t defaultMaxTasks = 100000;
    // Work due within this many seconds of a target time counts as due, so
    // that sums of decimal delays (0.1 + 0.2) meet the time they were meant for.
    static constexpr double tolerance = 1e-9;

    Scheduler() = default;
    ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // Seconds since the device started. While a task runs, its due time.
    double now() const { return m_now; }

    // Adds work for `queue` (nil for the device's own work) due at `dueTime`;
    // a time in the past means now.
    void schedule(double dueTime, const DispatchQueue* queue, Task);
    // Destroys every pending task of `queue` at once and answers how many
    // there were. A task that is running at the moment is not affected.
    size_t cancel(const DispatchQueue& queue);

    // Runs the work that is due now, turn by turn, until none is left. Work
    // posted meanwhile for the same time runs on a later turn of this call.
    // Answers false when it stopped at `maxTasks` with work still due (a
    // runaway loop), or when called from inside a task, where it runs nothing.
    bool runDue(size_t maxTasks = defaultMaxTasks);
    // Moves the clock forward by `seconds`, running everything that falls due
    // on the way at its own time. On false (see runDue) the clock stays at
    // the time of the last task run.
    bool advance(double seconds, size_t maxTasks = defaultMaxTasks);
    // Moves the clock to an absolute time (never backwards), as `advance` does.
    bool advanceTo(double time, size_t maxTasks = defaultMaxTasks);

    // The due time of the next piece of work, if any.
    std::optional<double> nextDueTime() const;
    size_t pendingCount() const { return m_pending.size(); }
    size_t pendingCount(const DispatchQueue&) const;
    // True while a task runs.
    bool isRunningTask() const { return m_running; }
    // The queue whose work runs at the moment (a task of it, or a block run
    // on it with `sync`); nil between tasks and for the device's own work.
    const DispatchQueue* currentQueue() const { return m_currentQueue; }

private:
    friend class DispatchQueue;
    using Key = std::pair<double, uint64_t>; // due time, posting sequence
    struct Entry {
        const DispatchQueue* queue;
        Task task;
    };

    // Runs the earliest task due by `time`, if any; answers whether it ran one.
    bool runNext(double time);

    double m_now { 0 };
    uint64_t m_nextSequence { 0 };
    bool m_running { false };
    const DispatchQueue* m_currentQueue { nullptr };
    std::map<Key, Entry> m_pending;
};

// dispatch_once: runs the block the first time only.
class OnceFlag {
public:
    template <typename F> void callOnce(F&& function)
    {
        if (m_done)
            return;
        m_done = true;
        function();
    }

private:
    bool m_done { false };
};

} // namespace device
