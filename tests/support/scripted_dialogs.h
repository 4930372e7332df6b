// The profile pages' and the macro page's file dialogs and the profile pages' notice box, answered
// by a test from a queue of paths (nothing: the user cancelled; an empty queue cancels too).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "shell/macro_dialogs.h"
#include "store/profile_files.h"

namespace talvoro::test {

class ScriptedDialogs final : public ProfileDialogs, public shell::MacroDialogs {
  public:
    std::optional<std::string> open_profile_path() override { return next(); }
    std::optional<std::string> save_profile_path() override { return next(); }
    std::optional<std::string> open_macro_path() override { return next(); }
    std::optional<std::string> save_macro_path() override { return next(); }
    void show_notice(const std::string& text) override { notices.push_back(text); }

    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> notices;

  private:
    std::optional<std::string> next() {
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace talvoro::test
