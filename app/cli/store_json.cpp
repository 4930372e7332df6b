#include "cli/store_json.h"

#include <algorithm>
#include <string_view>

#include "shell/language/function_names.h"
#include "store/button_function.h"
#include "store/key_table.h"
#include "store/macro_delay.h"
#include "store/macro_steps.h"
#include "store/store_text.h"
#include "text/json_string.h"

namespace talvoro::cli {
namespace {

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Appends "name":value pairs and array items with their commas.
class JsonObject {
  public:
    explicit JsonObject(std::string& out, char open = '{')
        : out_(out), close_(open == '{' ? '}' : ']') {
        out_ += open;
    }
    ~JsonObject() { out_ += close_; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    std::string& key(std::string_view name) {
        item();
        append_json_string(out_, name);
        out_ += ':';
        return out_;
    }
    std::string& item() {
        if (!first_) {
            out_ += ',';
        }
        first_ = false;
        return out_;
    }
    void number(std::string_view name, long long value) { key(name) += std::to_string(value); }
    void boolean(std::string_view name, bool value) { key(name) += value ? "true" : "false"; }
    void text(std::string_view name, std::string_view value) {
        append_json_string(key(name), value);
    }

  private:
    std::string& out_;
    char close_;
    bool first_ = true;
};

int macro_count(const ProfileStore& store) {
    return std::clamp<int32_t>(+store.macro_store.macro_count, 0, kMacroLimit);
}

void append_button(std::string& out, const ProfileStore& store, const ProfileBlock& block, int b) {
    JsonObject button(out);
    button.number("button", b + 1);
    const int32_t function = block.button_function[b];
    const int32_t param = block.button_param[b];
    if (function == kSingleKey) {
        button.text("function", "key");
        const KeyRow* key = key_by_virtual_key(param);
        button.text("key", key != nullptr ? trimmed(key->name) : "unknown");
    } else if (function == kMacro) {
        button.text("function", "macro");
        button.number("macro_number", param);
        if (param >= 1 && param <= macro_count(store)) {
            button.text("macro", field_text(store.macro_store.macros[param - 1].name));
        }
        const int32_t mode = block.macro_play_mode[b];
        if (mode == kPlayWhilePressed) {
            button.text("play", "while-held");
        } else if (mode == kPlayToggle) {
            button.text("play", "toggle");
        } else {
            button.text("play", "times");
            button.number("times", std::clamp(mode, 1, 99));
        }
    } else {
        const std::string_view name = trimmed(shell::function_name(function, 0));
        button.text("function", name.empty() ? "none" : name);
    }
}

void append_profile(std::string& out, const ProfileStore& store, int i) {
    const ProfileBlock& block = store.profiles[i];
    JsonObject profile(out);
    profile.number("profile", i + 1);
    profile.boolean("in_use", block.in_use != 0);
    profile.boolean("current", store.current_profile == i + 1);
    profile.number("report_rate_hz", block.report_rate_hz);
    profile.number("power_save_seconds", block.power_save_seconds);
    profile.number("lift_off_level", block.lift_off_level);
    profile.number("angle_snapping_level", block.angle_snapping_level);
    profile.boolean("smoothing", block.smoothing != 0);
    {
        JsonObject levels(profile.key("dpi"), '[');
        for (int level = 0; level < kCpiLevels; ++level) {
            JsonObject entry(levels.item());
            entry.number("level", level + 1);
            entry.number("x", block.laser_cpi[2 * level]);
            entry.number("y", block.laser_cpi[2 * level + 1]);
        }
    }
    JsonObject buttons(profile.key("buttons"), '[');
    for (int b = 0; b < kButtonCount; ++b) {
        append_button(buttons.item(), store, block, b);
    }
}

void append_macro_summary(std::string& out, const MacroRecord& macro, int index) {
    JsonObject entry(out);
    entry.number("number", index + 1);
    entry.text("name", field_text(macro.name));
    entry.number("steps", std::clamp<int32_t>(+macro.step_count, 0, kMacroSteps));
}

void append_macro_list(std::string& out, const ProfileStore& store) {
    JsonObject list(out, '[');
    for (int m = 0; m < macro_count(store); ++m) {
        append_macro_summary(list.item(), store.macro_store.macros[m], m);
    }
}

void append_macro(std::string& out, const MacroRecord& macro, int index) {
    JsonObject entry(out);
    entry.number("number", index + 1);
    entry.text("name", field_text(macro.name));
    JsonObject steps(entry.key("steps"), '[');
    const int32_t count = std::clamp<int32_t>(+macro.step_count, 0, kMacroSteps);
    for (int32_t s = 0; s < count; ++s) {
        const MacroStep& step = macro.steps[s];
        if (!is_listed_step(step)) {
            continue;
        }
        JsonObject item(steps.item());
        const std::string_view kind = field_text(step.kind);
        if (kind == "t") {
            item.text("kind", "delay");
            item.number("ms", parse_delay_ms(step.text));
        } else {
            item.text("kind", kind == "k" ? "key" : "mouse");
            item.text("text", trimmed(field_text(step.text)));
            item.text("action", field_text(step.action));
        }
    }
}

void append_store(std::string& out, const ProfileStore& store) {
    JsonObject root(out);
    root.number("current_profile", store.current_profile == 0 ? 1 : store.current_profile);
    root.text("firmware", field_text(store.fw_version));
    {
        const ProfileBlock& first = store.profiles[0];
        JsonObject desktop(root.key("desktop"));
        desktop.number("wheel_lines_level", first.wheel_lines_level);
        desktop.number("double_click_level", first.double_click_level);
        desktop.number("pointer_speed_level", first.pointer_speed_level);
    }
    {
        JsonObject profiles(root.key("profiles"), '[');
        for (int i = 0; i < kProfileCount; ++i) {
            append_profile(profiles.item(), store, i);
        }
    }
    append_macro_list(root.key("macros"), store);
}

}  // namespace

std::string profile_json(const ProfileStore& store, int profile) {
    std::string out;
    append_profile(out, store, profile - 1);
    return out;
}

std::string macro_list_json(const ProfileStore& store) {
    std::string out;
    append_macro_list(out, store);
    return out;
}

std::string macro_json(const ProfileStore& store, int index) {
    std::string out;
    append_macro(out, store.macro_store.macros[index], index);
    return out;
}

std::string store_json(const ProfileStore& store) {
    std::string out;
    append_store(out, store);
    return out;
}

}  // namespace talvoro::cli
