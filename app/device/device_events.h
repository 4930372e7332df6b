// What the device layer reports as it works: exchanges starting, progressing and ending, the
// store holding new profiles, a refresh done, the mouse lost and back. Whoever shows the program
// (the main window, the command line, tests) reacts to them; the device layer never reaches
// into pages.
#pragma once

namespace talvoro {

// The steps of a long exchange with the mouse, for its progress on screen.
enum class ExchangeStep {
    kReadProfile,    // reading profile 1..5 of the mouse
    kWriteProfile,   // writing profile 1..5 to the mouse
    kSelectProfile,  // making the applied profile the mouse's current one
};

struct DeviceEvent {
    enum class Kind {
        // A long exchange blocks the program from now on: the window is drawn first.
        kExchangeStarting,
        // `step` of profile `number` (1..5) comes next.
        kExchangeProgress,
        kExchangeEnded,
        // The store holds the profiles just read or applied; profile `number` (0..4) is the
        // mouse's current one.
        kProfilesChanged,
        // A refresh from the mouse is over. Without `ok` it could not be read and the store
        // holds the factory settings.
        kRefreshDone,
        // The mouse is gone; said once until it is back or the person is to be told again.
        kMouseLost,
        // The mouse answers again: what was said about its absence is over.
        kMouseBack,
    };
    Kind kind = Kind::kExchangeStarting;
    ExchangeStep step = ExchangeStep::kReadProfile;
    int number = 0;
    bool ok = true;
};

class DeviceEvents {
  public:
    virtual ~DeviceEvents() = default;
    // Called on the thread that drives the exchange, while it waits: a handler that draws does
    // so at once.
    virtual void on_device_event(const DeviceEvent& event) = 0;
};

// For callers that show nothing.
class NoDeviceEvents final : public DeviceEvents {
  public:
    void on_device_event(const DeviceEvent&) override {}
};

}  // namespace talvoro
