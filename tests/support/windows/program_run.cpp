#include "support/program_run.h"

#include <windows.h>

#include <algorithm>
#include <chrono>

#include "platform/windows/windows_text.h"
#include "support/windows/child_process.h"
#include "support/windows/output_pipe.h"

namespace talvoro::test {

namespace {

// What a program still running at the deadline ends with, as on Linux (128 + SIGKILL).
constexpr UINT kKilledAtDeadline = 137;

}  // namespace

ProgramResult run_program(const std::string& program, const std::vector<std::string>& args,
                          int timeout_seconds) {
    ProgramResult result;
    OutputPipe out;
    OutputPipe err;
    std::string error;
    if (!out.open(&error) || !err.open(&error)) {
        result.err = error;
        return result;
    }
    std::vector<std::string> arguments = {program};
    arguments.insert(arguments.end(), args.begin(), args.end());
    PROCESS_INFORMATION started{};
    if (!start_child(arguments, out.child_end(), err.child_end(), &started, &error)) {
        result.err = error;
        return result;
    }
    CloseHandle(started.hThread);
    out.close_child_end();
    err.close_child_end();

    // Read both pipes until every writer has closed them (the program and anything it left
    // running with them), up to the deadline.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeout_seconds);
    OutputPipe* pipes[2] = {&out, &err};
    std::string* sinks[2] = {&result.out, &result.err};
    while (!out.ended() || !err.ended()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            TerminateProcess(started.hProcess, kKilledAtDeadline);
            break;
        }
        HANDLE waits[2];
        int owner[2];
        DWORD count = 0;
        for (int i = 0; i < 2; ++i) {
            if (HANDLE event = pipes[i]->arm()) {
                waits[count] = event;
                owner[count++] = i;
            }
        }
        if (count == 0)
            break;
        const DWORD woke =
            WaitForMultipleObjects(count, waits, FALSE, static_cast<DWORD>(left.count()));
        if (woke >= WAIT_OBJECT_0 && woke < WAIT_OBJECT_0 + count) {
            const int i = owner[woke - WAIT_OBJECT_0];
            pipes[i]->collect(*sinks[i]);
        } else if (woke == WAIT_FAILED) {
            TerminateProcess(started.hProcess, kKilledAtDeadline);
            break;
        }
    }
    // A program that closed its output may still run: it too gets only until the deadline.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (WaitForSingleObject(started.hProcess, static_cast<DWORD>(std::max<long long>(
                                                  left.count(), 0))) != WAIT_OBJECT_0) {
        TerminateProcess(started.hProcess, kKilledAtDeadline);
    }
    DWORD status = 0;
    if (WaitForSingleObject(started.hProcess, INFINITE) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(started.hProcess, &status)) {
        result.exit_status = static_cast<int>(status);
    }
    CloseHandle(started.hProcess);
    return result;
}

std::string built_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // truncated: try a larger buffer
    }
    std::string folder = windows::to_utf8(path);
    folder.resize(folder.find_last_of("\\/") + 1);
    return folder;
}

std::string built_program(const std::string& name) {
    // Programs are named without their ending, as on Linux.
    const bool has_ending = name.find('.') != std::string::npos;
    return built_folder() + name + (has_ending ? "" : ".exe");
}

}  // namespace talvoro::test
