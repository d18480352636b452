#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <queue>
#include <string>
#include <optional>
#include <vector>

#include "platform/device/Task.h"

namespace device {

class Scheduler;

// A serial queue of the device: a process's main queue or a named queue.
// Every queue runs on the device's one scheduler, so serial order holds by
// construction and nothing needs a lock.
class DispatchQueue {
public:
    DispatchQueue(Scheduler&, std::string label);
    const std::string& label() const { return m_label; }
    Scheduler& scheduler() const { return *m_scheduler; }

    // Runs `task` on a later turn, after the work already due.
    void async(Task task);
    // Runs `task` once `delay` seconds of device time have passed (at once
    // for zero or negative delays, still on a later turn).
    void after(double delay, Task task);
    // Runs `task` now, on the caller's turn, as dispatch_sync does on an idle queue.
    void sync(Task task) { task(); }

    // Work for a queue that has been closed (its process ended) is dropped.
    void close() { *m_open = false; }
    bool isOpen() const { return *m_open; }

private:
    Scheduler* m_scheduler;
    std::string m_label;
    std::shared_ptr<bool> m_open;
};

// The device's clock and its list of pending work. Time is virtual: it moves
// only when asked to, and work falls due in the order of its due time, then
// of its posting.
class Scheduler {
public:
    // Seconds since the device started.
    double now() const { return m_now; }

    void schedule(double dueTime, std::shared_ptr<bool> queueOpen, Task);

    // Runs the work that is due now, turn by turn, until none is left. Work
    // posted meanwhile for the same time runs on a later turn of this call.
    // Answers false when it stopped at `maxTasks` (a runaway loop).
    bool runDue(size_t maxTasks = 100000);
    // Moves the clock forward by `seconds`, running everything that falls due
    // on the way at its own time.
    bool advance(double seconds, size_t maxTasks = 100000);
    // Moves the clock to an absolute time (never backwards).
    bool advanceTo(double time, size_t maxTasks = 100000);

    // The due time of the next piece of work, if any.
    std::optional<double> nextDueTime() const;
    size_t pendingCount() const { return m_pending.size(); }

private:
    struct Entry {
        double due;
        uint64_t sequence;
        std::shared_ptr<bool> queueOpen;
        mutable Task task;
    };
    struct Later {
        bool operator()(const Entry& a, const Entry& b) const
        {
            return a.due != b.due ? a.due > b.due : a.sequence > b.sequence;
        }
    };

    double m_now { 0 };
    uint64_t m_nextSequence { 0 };
    std::priority_queue<Entry, std::vector<Entry>, Later> m_pending;
};

// dispatch_once: runs the block the first time only.
class OnceFlag {
public:
    template<typename F>
    void callOnce(F&& function)
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
