#include "cli/cli_request.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "shell/language/function_names.h"
#include "store/button_function.h"
#include "store/key_table.h"
#include "store/profile_store.h"
#include "store/store_text.h"

namespace talvoro::cli {
namespace {

// A decimal number with nothing else around it.
std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::string joined(const std::vector<std::string_view>& words, size_t from) {
    std::string text;
    for (size_t i = from; i < words.size(); ++i) {
        if (!text.empty()) {
            text += ' ';
        }
        text += words[i];
    }
    return text;
}

struct Verbs {
    std::string_view word;
    std::string_view sub;  // the second word, for the verbs that have one
    Verb verb;
};

constexpr Verbs kVerbs[] = {
    {"read", "", Verb::kRead},
    {"apply", "", Verb::kApply},
    {"show", "", Verb::kShow},
    {"get", "", Verb::kGet},
    {"set", "", Verb::kSet},
    {"button", "", Verb::kButton},
    {"led", "", Verb::kLed},
    {"profile", "use", Verb::kProfileUse},
    {"profile", "enable", Verb::kProfileEnable},
    {"profile", "disable", Verb::kProfileDisable},
    {"macro", "list", Verb::kMacroList},
    {"macro", "show", Verb::kMacroShow},
    {"macro", "import", Verb::kMacroImport},
    {"macro", "export", Verb::kMacroExport},
    {"macro", "delete", Verb::kMacroDelete},
};

// The functions a button can be given by their menu names, besides keys and macros.
constexpr int32_t kNamedFunctions[] = {
    kLeftClick,   kRightClick,   kScrollWheelClick, kBrowserForward, kBrowserBackward, kScrollUp,
    kScrollDown,  kDpiUp,        kDpiDown,          kDpiLevelSwitch, kProfileSelect,   kDoubleClick,
    kTripleClick, kSniperSwitch, kDisable};
// The menu's "Default" row, which is no function of its own.
constexpr int32_t kDefaultRow = 18;

class Parser {
  public:
    explicit Parser(Request& request) : request_(request) {}

    void fail(std::string text) {
        if (request_.error.empty()) {
            request_.error = std::move(text);
        }
    }

    std::optional<int> ranged(std::string_view text, int low, int high, std::string_view what) {
        const auto value = number(text);
        if (!value || *value < low || *value > high) {
            fail(std::string(what) + " must be " + std::to_string(low) + "-" +
                 std::to_string(high) + ", not '" + std::string(text) + "'");
            return std::nullopt;
        }
        return value;
    }

    std::optional<bool> on_off(std::string_view text, std::string_view what) {
        if (equals_ignoring_case(text, "on")) {
            return true;
        }
        if (equals_ignoring_case(text, "off")) {
            return false;
        }
        fail(std::string(what) + " must be on or off, not '" + std::string(text) + "'");
        return std::nullopt;
    }

    void setting(const std::vector<std::string_view>& words) {
        // set N SETTING VALUE...
        if (words.size() < 4) {
            fail("set needs a profile, a setting and a value");
            return;
        }
        if (const auto profile = ranged(words[1], 1, kProfileCount, "the profile")) {
            request_.profile = *profile;
        }
        const std::string_view name = words[2];
        SettingChange& change = request_.setting;
        const size_t values = name == "dpi" ? 2 : 1;
        if (words.size() != 3 + values) {
            fail("set " + std::string(name) + " takes " +
                 (values == 2 ? "a level and a resolution" : "one value"));
            return;
        }
        const std::string_view value = words[3];
        if (name == "dpi") {
            change.setting = Setting::kResolution;
            if (const auto level = ranged(value, 1, kCpiLevels, "the resolution level")) {
                change.level = *level;
            }
            resolution(words[4]);
        } else if (name == "rate") {
            change.setting = Setting::kReportRate;
            const auto hz = number(value);
            if (!hz || (*hz != 125 && *hz != 250 && *hz != 500 && *hz != 1000)) {
                fail("the report rate must be 125, 250, 500 or 1000, not '" + std::string(value) +
                     "'");
            } else {
                change.value = *hz;
            }
        } else if (name == "lift-off") {
            change.setting = Setting::kLiftOff;
            if (const auto level = ranged(value, 0, kTopLevel, "the lift-off level")) {
                change.value = *level;
            }
        } else if (name == "angle-snapping") {
            change.setting = Setting::kAngleSnapping;
            if (equals_ignoring_case(value, "off")) {
                change.value = 0;
            } else if (const auto level =
                           ranged(value, 0, kTopLevel, "the angle-snapping level (or off)")) {
                change.value = *level;
            }
        } else if (name == "smoothing") {
            change.setting = Setting::kSmoothing;
            if (const auto on = on_off(value, "smoothing")) {
                change.value = *on ? 1 : 0;
            }
        } else if (name == "power-save") {
            change.setting = Setting::kPowerSave;
            const auto seconds = equals_ignoring_case(value, "off") ? 0 : number(value);
            if (!seconds || (*seconds != 0 && *seconds != 60 && *seconds != 120)) {
                fail("power-save must be off, 60 or 120, not '" + std::string(value) + "'");
            } else {
                change.value = *seconds;
            }
        } else {
            fail("unknown setting '" + std::string(name) +
                 "' (dpi, rate, lift-off, angle-snapping, smoothing, power-save)");
        }
    }

    // X, or XxY: each 200-8200 in steps of 100.
    void resolution(std::string_view text) {
        const size_t cross = text.find_first_of("xX");
        const std::string_view x = text.substr(0, cross);
        const std::string_view y = cross == std::string_view::npos ? x : text.substr(cross + 1);
        const auto checked = [&](std::string_view part) -> std::optional<int32_t> {
            const auto value = number(part);
            if (!value || *value < kLowestResolution || *value > kHighestResolution ||
                *value % kResolutionUnit != 0) {
                fail("a resolution must be " + std::to_string(kLowestResolution) + "-" +
                     std::to_string(kHighestResolution) + " in steps of " +
                     std::to_string(kResolutionUnit) + ", not '" + std::string(text) + "'");
                return std::nullopt;
            }
            return *value;
        };
        const auto checked_x = checked(x);
        const auto checked_y = checked(y);
        if (checked_x && checked_y) {
            request_.setting.value = *checked_x;
            request_.setting.y = *checked_y;
        }
    }

    void button(const std::vector<std::string_view>& words) {
        // button N BUTTON FUNCTION...
        if (words.size() < 4) {
            fail("button needs a profile, a button and a function");
            return;
        }
        if (const auto profile = ranged(words[1], 1, kProfileCount, "the profile")) {
            request_.profile = *profile;
        }
        if (const auto button = ranged(words[2], 1, kButtonCount, "the button")) {
            request_.button = *button;
        }
        FunctionChoice& choice = request_.function;
        const std::string_view first = words[3];
        if (equals_ignoring_case(first, "key")) {
            const std::string name = joined(words, 4);
            const KeyRow* row = find_key(name);
            if (row == nullptr) {
                fail("unknown key '" + name + "'");
                return;
            }
            choice.kind = FunctionKind::kKey;
            choice.function = kSingleKey;
            choice.virtual_key = row->virtual_key;
        } else if (equals_ignoring_case(first, "macro")) {
            if (words.size() != 5) {
                fail("button ... macro takes one macro name (quote a name with blanks)");
                return;
            }
            choice.kind = FunctionKind::kMacro;
            choice.function = kMacro;
            choice.macro = std::string(words[4]);
            choice.play_mode = play_mode_;
        } else {
            const std::string name = joined(words, 3);
            const auto function = find_function(name);
            if (!function) {
                fail("unknown function '" + name + "'");
                return;
            }
            choice.kind = *function == kDefaultRow ? FunctionKind::kDefault : FunctionKind::kFixed;
            choice.function = *function == kDefaultRow ? 0 : *function;
        }
        if (play_mode_given_ && choice.kind != FunctionKind::kMacro) {
            fail("--times, --while-held and --toggle are for macros");
        }
    }

    static const KeyRow* find_key(std::string_view name) {
        for (const KeyRow& row : key_table()) {
            if (equals_ignoring_case(trimmed(row.name), trimmed(name))) {
                return &row;
            }
        }
        return nullptr;
    }

    // The function whose English menu name is `name`, blanks around it and case aside.
    static std::optional<int32_t> find_function(std::string_view name) {
        for (int32_t code : kNamedFunctions) {
            if (equals_ignoring_case(trimmed(shell::function_name(code, 0)), trimmed(name))) {
                return code;
            }
        }
        if (equals_ignoring_case(trimmed(shell::function_name(kDefaultRow, 0)), trimmed(name))) {
            return kDefaultRow;
        }
        return std::nullopt;
    }

    // Options come first, wherever they stand; the rest are the words of the command.
    std::vector<std::string_view> take_options(const std::vector<std::string>& args) {
        std::vector<std::string_view> words;
        bool options = true;
        for (size_t i = 0; i < args.size(); ++i) {
            const std::string_view arg = args[i];
            // A negative number is a value (out of range), not an option.
            const bool negative =
                arg.size() >= 2 && arg[0] == '-' && arg[1] >= '0' && arg[1] <= '9';
            if (!options || arg.size() < 2 || arg[0] != '-' || negative) {
                words.push_back(arg);
            } else if (arg == "--") {
                options = false;
            } else if (arg == "--help" || arg == "-h" || arg == "--version") {
                // The first one asked for wins; whatever else is there is not run.
                if (asked_ == Verb::kNone) {
                    asked_ = arg == "--version" ? Verb::kVersion : Verb::kHelp;
                }
            } else if (arg == "--json") {
                request_.json = true;
            } else if (arg == "--while-held" || arg == "--toggle") {
                set_play_mode(arg == "--toggle" ? kPlayToggle : kPlayWhilePressed);
            } else if (arg == "--profile" || arg == "--times") {
                if (i + 1 == args.size()) {
                    fail(std::string(arg) + " needs a number");
                    continue;
                }
                const std::string_view value = args[++i];
                if (arg == "--profile") {
                    if (const auto profile = ranged(value, 1, kProfileCount, "the profile")) {
                        profile_option_ = *profile;
                    }
                } else if (const auto times = ranged(value, 1, 99, "--times")) {
                    set_play_mode(*times);
                }
            } else {
                fail("unknown option '" + std::string(arg) + "'");
            }
        }
        return words;
    }

    void set_play_mode(int32_t mode) {
        if (play_mode_given_) {
            fail("give one of --times, --while-held and --toggle");
        }
        play_mode_given_ = true;
        play_mode_ = mode;
    }

    void parse(const std::vector<std::string>& args) {
        const std::vector<std::string_view> words = take_options(args);
        if (asked_ != Verb::kNone) {
            request_ = Request{};
            request_.verb = asked_;
            return;
        }
        if (words.empty()) {
            return;
        }
        const Verbs* found = nullptr;
        bool known_word = false;
        for (const Verbs& verb : kVerbs) {
            if (verb.word != words[0]) {
                continue;
            }
            known_word = true;
            if (verb.sub.empty() || (words.size() > 1 && verb.sub == words[1])) {
                found = &verb;
                break;
            }
        }
        if (found == nullptr) {
            fail(known_word ? std::string(words[0]) + " needs one of its subcommands (see --help)"
                            : "unknown command '" + std::string(words[0]) + "'");
            return;
        }
        request_.verb = found->verb;
        operands(words, found->sub.empty() ? 1 : 2);
        check_options();
    }

    void operands(const std::vector<std::string_view>& words, size_t first) {
        const size_t count = words.size() - first;
        const std::string name(words[0]);
        const auto exactly = [&](size_t wanted, const char* what) {
            if (count != wanted) {
                fail(name + (count < wanted ? " needs " : " takes only ") + what);
                return false;
            }
            return true;
        };
        switch (request_.verb) {
            case Verb::kRead:
            case Verb::kApply:
                if (exactly(1, "a FILE")) {
                    request_.file = std::string(words[first]);
                }
                break;
            case Verb::kShow:
                if (count > 1) {
                    fail("unexpected argument '" + std::string(words[first + 1]) + "'");
                } else if (count == 1) {
                    request_.file = std::string(words[first]);
                }
                break;
            case Verb::kGet:
                exactly(0, "its options");
                request_.profile = profile_option_;
                break;
            case Verb::kSet:
                setting(words);
                break;
            case Verb::kButton:
                button(words);
                break;
            case Verb::kProfileUse:
            case Verb::kProfileEnable:
            case Verb::kProfileDisable:
                if (exactly(1, "a profile number")) {
                    if (const auto profile =
                            ranged(words[first], 1, kProfileCount, "the profile")) {
                        request_.profile = *profile;
                    }
                }
                break;
            case Verb::kLed:
                if (exactly(1, "on or off")) {
                    if (const auto on = on_off(words[first], "led")) {
                        request_.on = *on;
                    }
                }
                break;
            case Verb::kMacroList:
                exactly(0, "its options");
                break;
            case Verb::kMacroShow:
            case Verb::kMacroDelete:
                if (exactly(1, "one macro name (quote a name with blanks)")) {
                    request_.name = std::string(words[first]);
                }
                break;
            case Verb::kMacroImport:
                if (exactly(1, "a FILE")) {
                    request_.file = std::string(words[first]);
                }
                break;
            case Verb::kMacroExport:
                if (exactly(2, "a macro name and a FILE")) {
                    request_.name = std::string(words[first]);
                    request_.file = std::string(words[first + 1]);
                }
                break;
            case Verb::kNone:
            case Verb::kHelp:
            case Verb::kVersion:
                break;
        }
    }

    // Options that the verb has no use for are refused rather than ignored.
    void check_options() {
        const Verb verb = request_.verb;
        const bool reads = verb == Verb::kShow || verb == Verb::kGet || verb == Verb::kMacroList ||
                           verb == Verb::kMacroShow;
        if (request_.json && !reads) {
            fail("--json is for show, get, macro list and macro show");
        }
        if (profile_option_ != 0 && verb != Verb::kGet) {
            fail("--profile is for get");
        }
        if (play_mode_given_ && verb != Verb::kButton) {
            fail("--times, --while-held and --toggle are for button ... macro");
        }
    }

  private:
    Request& request_;
    Verb asked_ = Verb::kNone;
    int profile_option_ = 0;
    bool play_mode_given_ = false;
    int32_t play_mode_ = 1;
};

}  // namespace

Request parse_request(const std::vector<std::string>& args) {
    Request request;
    Parser(request).parse(args);
    return request;
}

bool changes_mouse(Verb verb) {
    switch (verb) {
        case Verb::kSet:
        case Verb::kButton:
        case Verb::kProfileUse:
        case Verb::kProfileEnable:
        case Verb::kProfileDisable:
        case Verb::kLed:
        case Verb::kMacroImport:
        case Verb::kMacroDelete:
            return true;
        default:
            return false;
    }
}

}  // namespace talvoro::cli
