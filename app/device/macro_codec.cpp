#include "device/macro_codec.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <optional>

#include "store/key_table.h"
#include "store/macro_delay.h"
#include "store/store_text.h"

namespace talvoro {
namespace {

constexpr uint8_t kEventKey = 0x01;
constexpr uint8_t kEventButton = 0x10;
constexpr uint8_t kEventWheel = 0x11;
// Steps a read rebuilds at the most; later steps overwrite the last one.
constexpr int32_t kDecodedStepLimit = 128;

struct MouseAction {
    const char* label;  // as a read writes it; found anywhere in a step text
    uint8_t type;
    uint16_t code;
};

// In the order they are tried: the first label found in a step decides it.
// "Scroll Wheel Click" is what the recorder and the step menu write for the
// wheel button; without it their middle-click steps would never reach the
// mouse, so it is tried last, after the labels a read writes.
constexpr std::array<MouseAction, 8> kMouseActions = {{
    {"Left Click     ", kEventButton, 0x01},
    {"Right Click    ", kEventButton, 0x02},
    {"Middle Click   ", kEventButton, 0x04},
    {"Browser Forward", kEventButton, 0x10},
    {"Browser Backward", kEventButton, 0x08},
    {"Scroll Wheel Up", kEventWheel, 0x01},
    {"Scroll Wheel Down", kEventWheel, 0xFF},
    {"Scroll Wheel Click", kEventButton, 0x04},
}};

const char* mouse_label(uint8_t type, uint16_t code) {
    // The read's own labels, the first seven of the table.
    for (size_t i = 0; i < 7; ++i) {
        if (kMouseActions[i].type == type && kMouseActions[i].code == code) {
            return kMouseActions[i].label;
        }
    }
    return "unknown";
}

uint8_t written_action(const char* action) {
    return std::strcmp(action, "up") == 0 ? 1 : 0;
}

const char* read_action(uint8_t action) {
    return action == 1 ? "down" : action == 2 ? "up" : "unknown";
}

uint16_t swap_bytes(uint16_t value) {
    return static_cast<uint16_t>((value << 8) | (value >> 8));
}

uint32_t swap_outer_bytes(uint32_t value) {
    return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

}  // namespace

namespace {

// The event one step becomes on the mouse: key and known mouse steps, with the delay of a "t"
// step right after them; nothing for the others.
std::optional<MacroEvent> step_event(const MacroRecord& macro, int32_t steps, int32_t k) {
    const MacroStep& step = macro.steps[k];
    MacroEvent event{};
    if (std::strcmp(step.kind, "k") == 0) {
        const KeyRow* key = key_by_name(step.text);
        event.event_type = kEventKey;
        event.event_code = key != nullptr ? key->usage : 0;
    } else if (std::strcmp(step.kind, "m") == 0) {
        const auto found = std::find_if(
            kMouseActions.begin(), kMouseActions.end(),
            [&](const auto& action) { return std::strstr(step.text, action.label) != nullptr; });
        if (found == kMouseActions.end())
            return std::nullopt;
        event.event_type = found->type;
        event.event_code = found->code;
    } else {
        return std::nullopt;
    }
    event.event_action = written_action(step.action);
    if (k + 1 < steps && std::strcmp(macro.steps[k + 1].kind, "t") == 0) {
        event.event_delay_ms = parse_delay_ms(macro.steps[k + 1].text);
    }
    return event;
}

int32_t step_count_of(const MacroRecord& macro) {
    return std::clamp<int32_t>(+macro.step_count, 0, kMacroSteps);
}

}  // namespace

void encode_macro(const MacroRecord& macro, MacroSlot& slot) {
    std::memset(&slot, 0, sizeof slot);
    const int32_t steps = step_count_of(macro);
    int events = 0;
    for (int32_t k = 0; k < steps && events < TALVORO_MACRO_EVENTS; ++k) {
        if (const auto event = step_event(macro, steps, k)) {
            slot.events[events++] = *event;
        }
    }
    slot.event_count = static_cast<uint16_t>(events);
}

int macro_event_count(const MacroRecord& macro) {
    const int32_t steps = step_count_of(macro);
    int events = 0;
    for (int32_t k = 0; k < steps; ++k) {
        events += step_event(macro, steps, k).has_value() ? 1 : 0;
    }
    return events;
}

void decode_macro(const MacroSlot& slot, int32_t number, MacroRecord& macro) {
    macro.number = number;
    if (macro.name[0] == '\0')
        std::snprintf(macro.name, sizeof macro.name, "MACRO_%d", number);
    int32_t count = 0;
    auto next_step = [&]() -> MacroStep& {
        MacroStep& step = macro.steps[std::min(count, kDecodedStepLimit)];
        if (count < kDecodedStepLimit)
            ++count;
        std::memset(&step, 0, sizeof step);
        return step;
    };
    const int events = std::min<int>(slot.event_count, TALVORO_MACRO_EVENTS);
    for (int j = 0; j < events; ++j) {
        const MacroEvent& event = slot.events[j];
        const uint16_t code = swap_bytes(event.event_code);
        const char* text = nullptr;
        if (event.event_type == kEventKey) {
            const KeyRow* key = key_by_usage(code);
            text = key != nullptr ? key->name : "unknown";
        } else if (event.event_type == kEventButton || event.event_type == kEventWheel) {
            text = mouse_label(event.event_type, code);
        } else {
            break;  // an unknown event ends the macro
        }
        MacroStep& step = next_step();
        // copy_text clears each field past its text: no stale bytes remain.
        copy_text(step.kind, event.event_type == kEventKey ? "k" : "m");
        copy_text(step.text, text);
        copy_text(step.action, read_action(event.event_action));
        const uint32_t delay = swap_outer_bytes(event.event_delay_ms);
        if (delay != 0) {
            MacroStep& pause = next_step();
            copy_text(pause.kind, "t");
            format_delay(delay, pause.text);
            copy_text(pause.action, "");
        }
    }
    macro.step_count = count;
}

}  // namespace talvoro
