#include "probe/record_dump.h"

#include "protocol.h"

namespace talvoro {
namespace {

const char* report_rate(uint8_t code) {
    switch (code) {
        case 1:
            return "1000 Hz";
        case 2:
            return "500 Hz";
        case 3:
            return "250 Hz";
        case 5:
            return "125 Hz";
        default:
            return "unknown";
    }
}

const char* mouse_button(uint8_t bit) {
    switch (bit) {
        case 0x01:
            return "left";
        case 0x02:
            return "right";
        case 0x04:
            return "wheel click";
        case 0x08:
            return "browser backward";
        case 0x10:
            return "browser forward";
        default:
            return "unknown button";
    }
}

void print_function(const ButtonEntry& entry, std::FILE* out) {
    switch (entry.function_type) {
        case 0x00:
            std::fprintf(out, "mouse %s", mouse_button(entry.function_param));
            break;
        case 0x01:
            std::fprintf(out, "wheel %s", entry.function_param == 0x01 ? "up" : "down");
            break;
        case 0x02:
            std::fprintf(out, "key usage 0x%02X", entry.function_param);
            break;
        case protocol::kFunctionMacro:
            std::fprintf(out, "macro %u, ", entry.macro_number);
            if (entry.function_param == 0xF1) {
                std::fputs("while pressed", out);
            } else if (entry.function_param == 0xF2) {
                std::fputs("toggle", out);
            } else {
                std::fprintf(out, "%u time(s)", entry.function_param);
            }
            break;
        case 0x08:
            std::fputs("profile select", out);
            break;
        case 0x09:
            std::fputs("DPI level switch", out);
            break;
        case 0x0A:
            std::fputs("DPI up", out);
            break;
        case 0x0B:
            std::fputs("DPI down", out);
            break;
        case 0x0C:
            std::fputs("sniper", out);
            break;
        case 0x0D:
            std::fputs("triple click", out);
            break;
        case 0x0E:
            std::fputs("double click", out);
            break;
        case 0xFF:
            std::fputs("disabled", out);
            break;
        default:
            std::fprintf(out, "function 0x%02X, 0x%02X", entry.function_type, entry.function_param);
    }
}

const char* event_kind(uint8_t type) {
    switch (type) {
        case 0x01:
            return "key";
        case 0x10:
            return "button";
        case 0x11:
            return "wheel";
        default:
            return "event";
    }
}

}  // namespace

void format_firmware_version(uint16_t version, char (&text)[16]) {
    std::snprintf(text, sizeof text, "V%d.%2.2d", version / 100, version % 100);
}

void dump_record(const ProfileRecord& record, std::FILE* out) {
    std::fprintf(out, "profile slot %u (%s)\n", record.profile_index,
                 record.in_use != 0 ? "in use" : "not in use");
    std::fprintf(out, "  report rate      %s\n", report_rate(record.report_rate_code));
    std::fprintf(out, "  power saving     %u s\n", record.power_save_seconds);
    for (size_t level = 0; level < protocol::kResolutionLevels; ++level) {
        std::fprintf(out, "  resolution %d     %u x %u cpi\n", static_cast<int>(level + 1),
                     record.cpi[2 * level], record.cpi[2 * level + 1]);
    }
    std::fprintf(out, "  lift-off code    %u\n", record.lift_off_code);
    std::fprintf(out, "  angle snapping   %u\n", record.angle_snapping);
    std::fprintf(out, "  smoothing        %s\n", record.smoothing != 0 ? "on" : "off");
    for (size_t k = 0; k < TALVORO_BUTTON_ENTRIES; ++k) {
        const ButtonEntry& entry = record.buttons[k];
        if (k < protocol::kButtons) {
            std::fprintf(out, "  button %-2d        ", static_cast<int>(k + 1));
        } else {
            std::fprintf(out, "  wheel %-4s       ", k == protocol::kWheelUpEntry ? "up" : "down");
        }
        print_function(entry, out);
        std::fputc('\n', out);
        if (entry.function_type != protocol::kFunctionMacro)
            continue;
        const MacroSlot& slot = record.macros[k];
        for (int j = 0; j < slot.event_count && j < TALVORO_MACRO_EVENTS; ++j) {
            const MacroEvent& event = slot.events[j];
            // Undo the byte exchange of the read direction for display.
            const unsigned code = ((event.event_code & 0xFF) << 8) | (event.event_code >> 8);
            const unsigned delay = ((event.event_delay_ms & 0xFF) << 16) |
                                   (event.event_delay_ms & 0xFF00) |
                                   ((event.event_delay_ms >> 16) & 0xFF);
            std::fprintf(out, "      %-6s 0x%04X action %u, then %u ms\n",
                         event_kind(event.event_type), code, event.event_action, delay);
        }
    }
}

}  // namespace talvoro
