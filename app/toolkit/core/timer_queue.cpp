#include "core/timer_queue.h"

#include <algorithm>

namespace talvoro::ui {

void TimerQueue::set(const void* owner, uintptr_t id, Millis interval, Millis now) {
    interval = std::max(interval, kMinInterval);
    // A fresh serial even on a restart: a ticket of the old run must not fire.
    const uint64_t serial = next_serial_++;
    for (Timer& timer : timers_) {
        if (timer.owner == owner && timer.id == id) {
            timer = Timer{owner, id, interval, now + interval, serial};
            return;
        }
    }
    timers_.push_back(Timer{owner, id, interval, now + interval, serial});
}

bool TimerQueue::kill(const void* owner, uintptr_t id) {
    return std::erase_if(timers_, [&](const Timer& timer) {
               return timer.owner == owner && timer.id == id;
           }) > 0;
}

size_t TimerQueue::kill_owners(const std::function<bool(const void* owner)>& gone) {
    return std::erase_if(timers_, [&](const Timer& timer) { return gone(timer.owner); });
}

std::optional<TimerQueue::Millis> TimerQueue::next_due() const {
    std::optional<Millis> next;
    for (const Timer& timer : timers_) {
        if (!next || timer.due < *next) {
            next = timer.due;
        }
    }
    return next;
}

std::vector<TimerQueue::Ticket> TimerQueue::collect_due(Millis now) {
    std::vector<const Timer*> due;
    for (const Timer& timer : timers_) {
        if (timer.due <= now) {
            due.push_back(&timer);
        }
    }
    // Earliest first; equal ones in the order they were set.
    std::sort(due.begin(), due.end(), [](const Timer* a, const Timer* b) {
        return a->due != b->due ? a->due < b->due : a->serial < b->serial;
    });
    std::vector<Ticket> tickets;
    tickets.reserve(due.size());
    for (const Timer* timer : due) {
        tickets.push_back(Ticket{timer->owner, timer->id, timer->serial});
    }
    for (Timer& timer : timers_) {
        if (timer.due <= now) {
            const auto missed = (now - timer.due) / timer.interval;
            timer.due += timer.interval * (missed + 1);
        }
    }
    return tickets;
}

bool TimerQueue::armed(const Ticket& ticket) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& timer) {
        return timer.owner == ticket.owner && timer.id == ticket.id &&
               timer.serial == ticket.serial;
    });
}

}  // namespace talvoro::ui
