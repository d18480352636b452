#include "platform/device/Scheduler.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace device {

// MARK: DispatchQueue

DispatchQueue::DispatchQueue(Scheduler& scheduler, std::string label)
    : m_scheduler(&scheduler)
    , m_label(std::move(label))
{
}

DispatchQueue::~DispatchQueue()
{
    close();
}

void DispatchQueue::async(Task task)
{
    after(0, std::move(task));
}

void DispatchQueue::after(double delay, Task task)
{
    if (!m_open)
        return;
    double wait = delay > 0 ? delay : 0; // also turns NaN into no wait
    m_scheduler->schedule(m_scheduler->now() + wait, this, std::move(task));
}

void DispatchQueue::sync(Task task)
{
    if (!m_open)
        return;
    const DispatchQueue* previous = m_scheduler->m_currentQueue;
    m_scheduler->m_currentQueue = this;
    task();
    m_scheduler->m_currentQueue = previous;
}

void DispatchQueue::close()
{
    m_open = false;
    m_scheduler->cancel(*this);
}

// MARK: Scheduler

Scheduler::~Scheduler()
{
    // Destroying a task may post more work; that is destroyed in turn.
    while (!m_pending.empty()) {
        auto pending = std::move(m_pending);
        m_pending.clear();
    }
}

void Scheduler::schedule(double dueTime, const DispatchQueue* queue, Task task)
{
    if (!task)
        return;
    if (!(dueTime >= m_now)) // the past, or NaN
        dueTime = m_now;
    m_pending.emplace(Key { dueTime, m_nextSequence++ }, Entry { queue, std::move(task) });
}

size_t Scheduler::cancel(const DispatchQueue& queue)
{
    // The tasks are taken out first and destroyed afterwards, because their
    // destruction may release objects whose dealloc posts more work.
    std::vector<Entry> dropped;
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (it->second.queue == &queue) {
            dropped.push_back(std::move(it->second));
            it = m_pending.erase(it);
        } else {
            ++it;
        }
    }
    return dropped.size();
}

size_t Scheduler::pendingCount(const DispatchQueue& queue) const
{
    return std::count_if(m_pending.begin(), m_pending.end(), [&](auto& item) { return item.second.queue == &queue; });
}

std::optional<double> Scheduler::nextDueTime() const
{
    if (m_pending.empty())
        return std::nullopt;
    return m_pending.begin()->first.first;
}

bool Scheduler::runNext(double time)
{
    if (m_pending.empty() || m_pending.begin()->first.first > time + tolerance)
        return false;
    auto node = m_pending.extract(m_pending.begin());
    m_now = std::max(m_now, node.key().first);

    struct RunningScope {
        Scheduler& scheduler;
        RunningScope(Scheduler& s, const DispatchQueue* queue)
            : scheduler(s)
        {
            scheduler.m_running = true;
            scheduler.m_currentQueue = queue;
        }
        ~RunningScope()
        {
            scheduler.m_running = false;
            scheduler.m_currentQueue = nullptr;
        }
    } scope(*this, node.mapped().queue);
    node.mapped().task();
    return true;
}

bool Scheduler::runDue(size_t maxTasks)
{
    return advanceTo(m_now, maxTasks);
}

bool Scheduler::advance(double seconds, size_t maxTasks)
{
    return advanceTo(m_now + std::max(seconds, 0.0), maxTasks);
}

bool Scheduler::advanceTo(double time, size_t maxTasks)
{
    if (m_running || !std::isfinite(time))
        return false;
    time = std::max(time, m_now);
    for (size_t ran = 0;; ++ran) {
        bool due = !m_pending.empty() && m_pending.begin()->first.first <= time + tolerance;
        if (!due)
            break;
        if (ran == maxTasks)
            return false;
        runNext(time);
    }
    m_now = std::max(m_now, time);
    return true;
}

} // namespace device
