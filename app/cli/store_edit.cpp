#include "cli/store_edit.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "device/macro_codec.h"
#include "store/button_function.h"
#include "store/left_button_rule.h"
#include "store/macro_operations.h"
#include "store/profile_files.h"
#include "store/store_text.h"

namespace talvoro::cli {
namespace {

// The macro editor works through the macro page's lists; here there are none.
class NoLists final : public MacroListView {
  public:
    void clear_name_rows() override {}
    void append_name_row(const std::string&, const std::string&) override {}
    void remove_name_row(int) override {}
    void rename_name_row(int, const std::string&) override {}
    void set_name_row_text(int, const std::string&) override {}
    void clear_step_rows() override {}
    void add_step_row(int, bool, MacroRowKind, const MacroStep&) override {}
    void remove_step_row(int) override {}
    void set_step_row(int, const MacroStep&) override {}
};

bool same_events(const MacroSlot& a, const MacroSlot& b) {
    return a.event_count == b.event_count &&
           std::memcmp(a.events, b.events, sizeof(MacroEvent) * a.event_count) == 0;
}

// The first saved macro not yet taken whose events are `events`, or -1.
int find_same_events(const MacroStore& saved, int count, const MacroSlot& events,
                     const bool* taken) {
    auto slot = std::make_unique<MacroSlot>();
    for (int k = 0; k < count; ++k) {
        if (taken[k]) {
            continue;
        }
        encode_macro(saved.macros[k], *slot);
        if (same_events(events, *slot)) {
            return k;
        }
    }
    return -1;
}

std::string profile_word(int profile) {
    return "profile " + std::to_string(profile);
}

void change_setting(const SettingChange& change, ProfileBlock& block) {
    switch (change.setting) {
        case Setting::kResolution:
            // laser_cpi holds level 1 X, level 1 Y, level 2 X, ...
            block.laser_cpi[2 * (change.level - 1)] = change.value;
            block.laser_cpi[2 * (change.level - 1) + 1] = change.y;
            break;
        case Setting::kReportRate:
            block.report_rate_hz = change.value;
            break;
        case Setting::kLiftOff:
            block.lift_off_level = change.value;
            break;
        case Setting::kAngleSnapping:
            block.angle_snapping_level = change.value;
            break;
        case Setting::kSmoothing:
            block.smoothing = static_cast<uint8_t>(change.value);
            break;
        case Setting::kPowerSave:
            block.power_save_seconds = change.value;
            break;
    }
}

std::string change_button(const Request& request, ProfileStore& store) {
    ProfileBlock& block = store.profiles[request.profile - 1];
    const int b = request.button - 1;
    const FunctionChoice& choice = request.function;
    int32_t function = choice.function;
    int32_t param = 0;
    switch (choice.kind) {
        case FunctionKind::kFixed:
            break;
        case FunctionKind::kKey:
            param = choice.virtual_key;
            break;
        case FunctionKind::kDefault:
            function = kDefaultButtons[static_cast<size_t>(b)];
            break;
        case FunctionKind::kMacro: {
            const int index = macro_index(store, choice.macro);
            if (index < 0) {
                return "no macro is named '" + choice.macro + "' (see macro list)";
            }
            param = index + 1;
            break;
        }
    }
    const int32_t old_function = block.button_function[b];
    const int32_t old_param = block.button_param[b];
    block.button_function[b] = function;
    block.button_param[b] = param;
    if (!holds_left_click(block)) {
        block.button_function[b] = old_function;
        block.button_param[b] = old_param;
        return "button " + std::to_string(request.button) + " holds the last Left Click of " +
               profile_word(request.profile) + "; give another button Left Click first";
    }
    if (choice.kind == FunctionKind::kMacro) {
        block.macro_play_mode[b] = choice.play_mode;
    }
    return {};
}

std::string change_use(const Request& request, ProfileStore& store) {
    ProfileBlock& block = store.profiles[request.profile - 1];
    if (request.verb == Verb::kProfileUse) {
        if (block.in_use == 0) {
            return profile_word(request.profile) + " is not in use (profile enable " +
                   std::to_string(request.profile) + ")";
        }
        store.current_profile = request.profile;
        return {};
    }
    if (request.verb == Verb::kProfileEnable) {
        block.in_use = 1;
        return {};
    }
    const auto in_use = std::count_if(std::begin(store.profiles), std::end(store.profiles),
                                      [](const ProfileBlock& p) { return p.in_use != 0; });
    if (block.in_use != 0 && in_use == 1) {
        return profile_word(request.profile) + " is the only profile in use";
    }
    block.in_use = 0;
    return {};
}

}  // namespace

int macro_too_long(const ProfileStore& store) {
    for (const ProfileBlock& block : store.profiles) {
        for (int b = 0; b < kButtonCount; ++b) {
            const int32_t played = block.button_param[b];
            if (block.button_function[b] == kMacro && played >= 1 && played <= kMacroLimit &&
                macro_event_count(store.macro_store.macros[played - 1]) > TALVORO_MACRO_EVENTS) {
                return played - 1;
            }
        }
    }
    return -1;
}

int macro_index(const ProfileStore& store, const std::string& name) {
    const int count = std::clamp<int32_t>(+store.macro_store.macro_count, 0, kMacroLimit);
    for (int m = 0; m < count; ++m) {
        if (field_text(store.macro_store.macros[m].name) == name) {
            return m;
        }
    }
    return -1;
}

void add_saved_macros(ProfileStore& store, const MacroStore& saved) {
    MacroStore& macros = store.macro_store;
    const int count = std::clamp<int32_t>(+saved.macro_count, 0, kMacroLimit);
    bool taken[kMacroLimit] = {};
    // The mouse keeps no names: a macro it plays gets the saved name of the macro that sends the
    // same events, the one at its own place first.
    for (int m = 0; m < std::clamp<int32_t>(+macros.macro_count, 0, kMacroLimit); ++m) {
        auto played = std::make_unique<MacroSlot>();
        encode_macro(macros.macros[m], *played);
        for (int pass = 0; pass < 2; ++pass) {
            const int k = pass == 0 ? m : find_same_events(saved, count, *played, taken);
            if (k < 0 || k >= count || taken[k] || field_text(saved.macros[k].name).empty()) {
                continue;
            }
            auto kept = std::make_unique<MacroSlot>();
            encode_macro(saved.macros[k], *kept);
            if (same_events(*played, *kept)) {
                copy_text(macros.macros[m].name, field_text(saved.macros[k].name));
                taken[k] = true;
                break;
            }
        }
    }
    for (int k = 0; k < count && macros.macro_count < kMacroLimit; ++k) {
        const MacroRecord& macro = saved.macros[k];
        const std::string name(field_text(macro.name));
        if (taken[k] || name.empty() || macro_index(store, name) >= 0) {
            continue;
        }
        MacroRecord& record = macros.macros[macros.macro_count];
        std::memcpy(&record, &macro, sizeof(MacroRecord));
        record.number = 0;  // as a macro the page made: no button plays it yet
        ++macros.macro_count;
    }
}

std::string edit_store(const Request& request, ProfileStore& store) {
    switch (request.verb) {
        case Verb::kSet:
            change_setting(request.setting, store.profiles[request.profile - 1]);
            return {};
        case Verb::kButton:
            return change_button(request, store);
        case Verb::kProfileUse:
        case Verb::kProfileEnable:
        case Verb::kProfileDisable:
            return change_use(request, store);
        case Verb::kMacroImport: {
            NoLists lists;
            MacroEditor editor(store, lists);
            switch (editor.import_macros(request.file)) {
                case kStoreRead:
                    return {};
                case kStoreEmpty:
                    return request.file + " is empty";
                default:
                    return "cannot open " + request.file;
            }
        }
        case Verb::kMacroDelete: {
            const int index = macro_index(store, request.name);
            if (index < 0) {
                return "no macro is named '" + request.name + "' (see macro list)";
            }
            NoLists lists;
            MacroEditor editor(store, lists);
            // The editor writes the macro store file as the page does; whether that worked is
            // told when the files are written after the mouse took the change.
            static_cast<void>(editor.delete_macro(index));
            return {};
        }
        default:
            return "nothing to change";
    }
}

}  // namespace talvoro::cli
