#include "library_fixture.h"

namespace talvoro::test {
namespace {

void record_sleep(std::chrono::milliseconds duration) {
    recorded_waits().push_back(duration);
}

}  // namespace

std::vector<std::chrono::milliseconds>& recorded_waits() {
    static std::vector<std::chrono::milliseconds> waits;
    return waits;
}

LibraryTest::LibraryTest() : previous_sleep_(set_sleep_function(&record_sleep)) {
    recorded_waits().clear();
}

LibraryTest::~LibraryTest() {
    Close_QX_device();
    set_sleep_function(previous_sleep_);
}

VirtualMouseProcess& LibraryTest::start_mouse(std::vector<std::string> args,
                                              const std::string& name) {
    args.push_back("--no-timing");
    mice_.push_back(std::make_unique<VirtualMouseProcess>(folder_.path(), args, name));
    return *mice_.back();
}

std::vector<uint8_t> LibraryTest::state_image(const VirtualMouseProcess& mouse, int slot) const {
    const std::vector<uint8_t> state = mouse.read_state();
    const size_t begin = static_cast<size_t>(slot) * TALVORO_IMAGE_SIZE;
    if (state.size() < begin + TALVORO_IMAGE_SIZE)
        return {};
    return {state.begin() + static_cast<std::ptrdiff_t>(begin),
            state.begin() + static_cast<std::ptrdiff_t>(begin + TALVORO_IMAGE_SIZE)};
}

}  // namespace talvoro::test
