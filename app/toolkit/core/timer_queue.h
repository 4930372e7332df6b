// The toolkit's one timer engine: repeating timers keyed by owner and id, on a clock the caller
// passes in. Windows keep their timers in one and paint managers their controls' in another, so
// a timer fires by the same rules whoever owns it.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace talvoro::ui {

class TimerQueue {
  public:
    using Millis = std::chrono::milliseconds;
    // The shortest period: 0 ms asks for "as soon as possible", which is then every 1 ms.
    static constexpr Millis kMinInterval{1};

    // One due timer of a pass, to be delivered only while it is still armed().
    struct Ticket {
        const void* owner;
        uintptr_t id;
        uint64_t serial;
    };

    // Starts the timer, or starts it over when the owner has one with that id already: first
    // due at `now` + interval.
    void set(const void* owner, uintptr_t id, Millis interval, Millis now);
    bool kill(const void* owner, uintptr_t id);
    // Kills every timer whose owner `gone` says goes; returns how many.
    size_t kill_owners(const std::function<bool(const void* owner)>& gone);
    void clear() { timers_.clear(); }
    bool empty() const { return timers_.empty(); }

    std::optional<Millis> next_due() const;
    // The timers due at `now`, each once however late, earliest first, each moved on to its
    // next slot. A timer keeps its phase: the next slot is the first of due + k * interval
    // after `now`, so an on-time timer does not drift and a slow pass causes no burst.
    std::vector<Ticket> collect_due(Millis now);
    // False once the ticket's timer was killed or set again (by an earlier handler of the same
    // pass, say): such a ticket must not fire.
    bool armed(const Ticket& ticket) const;

  private:
    struct Timer {
        const void* owner;
        uintptr_t id;
        Millis interval;
        Millis due;
        uint64_t serial;
    };

    std::vector<Timer> timers_;
    uint64_t next_serial_ = 1;
};

}  // namespace talvoro::ui
