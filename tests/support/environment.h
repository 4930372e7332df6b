// The two things about a test's environment that each operating system does its own way: making
// a private temporary folder and changing an environment variable.
#pragma once

#include <optional>
#include <string>

namespace talvoro::test {

// A new, empty folder only this user may use, under the system's temporary folder; empty, with
// `error` set, when none could be made.
std::string make_private_temp_folder(std::string* error);

// Sets (or, given nullopt, removes) an environment variable so that both std::getenv and the
// programs this process starts see it. False when the system refused.
bool set_environment_variable(const std::string& name, const std::optional<std::string>& value);

}  // namespace talvoro::test
