#include "shell/pages/function_commands.h"

namespace talvoro::shell {

std::optional<FunctionCommand> decode_function_command(int id) {
    if (id >= kFirstMacroCommand && id <= kLastFunctionCommand) {
        return FunctionCommand{FunctionAction::kMacro, kMacro, id - kFirstMacroCommand};
    }
    for (const FunctionRow& row : kFunctionRows) {
        if (row.command != id) {
            continue;
        }
        if (id == kSingleKeyCommand) {
            return FunctionCommand{FunctionAction::kSingleKey, kSingleKey, 0};
        }
        if (id == kDefaultCommand) {
            return FunctionCommand{FunctionAction::kDefault, kDefaultChoice, 0};
        }
        return FunctionCommand{FunctionAction::kAssign, row.code, 0};
    }
    return std::nullopt;
}

const FunctionRow* function_row_by_code(int32_t code) {
    for (const FunctionRow& row : kFunctionRows) {
        if (row.code == code) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace talvoro::shell
