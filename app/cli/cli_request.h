// What a talvoro_cli command line asks for, checked and typed: the verbs and their operands as
// names and numbers, so that the rest of the program never compares words.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace talvoro::cli {

enum class Verb : uint8_t {
    kNone,  // nothing asked: the usage is printed
    kHelp,
    kVersion,
    kRead,            // read FILE
    kApply,           // apply FILE
    kShow,            // show [FILE]
    kGet,             // get [--profile N] [--json]
    kSet,             // set N SETTING VALUE...
    kButton,          // button N BUTTON FUNCTION...
    kProfileUse,      // profile use N
    kProfileEnable,   // profile enable N
    kProfileDisable,  // profile disable N
    kLed,             // led on|off
    kMacroList,       // macro list [--json]
    kMacroShow,       // macro show NAME [--json]
    kMacroImport,     // macro import FILE
    kMacroExport,     // macro export NAME FILE
    kMacroDelete,     // macro delete NAME
};

enum class Setting : uint8_t {
    kResolution,     // dpi LEVEL X[xY]
    kReportRate,     // rate HZ
    kLiftOff,        // lift-off LEVEL
    kAngleSnapping,  // angle-snapping LEVEL|off
    kSmoothing,      // smoothing on|off
    kPowerSave,      // power-save off|60|120
};

struct SettingChange {
    Setting setting = Setting::kReportRate;
    int level = 0;      // resolution level 1..4
    int32_t value = 0;  // the value, or the resolution's X
    int32_t y = 0;      // the resolution's Y
};

enum class FunctionKind : uint8_t {
    kFixed,    // a function of the menu's own: `function` holds its code
    kKey,      // a single key: `virtual_key`
    kDefault,  // the button's factory function
    kMacro,    // the macro named `macro`, played `play_mode`
};

struct FunctionChoice {
    FunctionKind kind = FunctionKind::kFixed;
    int32_t function = 0;
    int32_t virtual_key = 0;
    std::string macro;
    int32_t play_mode = 1;  // 1..99 times, or the while-held and toggle modes
};

struct Request {
    Verb verb = Verb::kNone;
    bool json = false;
    int profile = 0;  // 1..5; for get, 0 means all
    int button = 0;   // 1..11
    SettingChange setting;
    FunctionChoice function;
    bool on = false;    // led
    std::string name;   // a macro's name
    std::string file;   // read, apply, show, import, export
    std::string error;  // one line saying what is wrong with the command line; empty when nothing
};

// Parses the arguments after the program's name.
Request parse_request(const std::vector<std::string>& args);

// Whether the verb changes the mouse (and then the program's own files).
bool changes_mouse(Verb verb);

}  // namespace talvoro::cli
