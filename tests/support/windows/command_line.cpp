#include "support/windows/command_line.h"

#include "platform/windows/windows_text.h"

namespace talvoro::test {

namespace {

void append_quoted(std::wstring& line, const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += argument;
        return;
    }
    // Backslashes are literal unless they precede a quote: those, and the ones before the
    // closing quote, are doubled.
    line += L'"';
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            line.append(backslashes * 2 + 1, L'\\');
        } else {
            line.append(backslashes, L'\\');
        }
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

}  // namespace

std::wstring quote_command_line(const std::vector<std::string>& arguments) {
    std::wstring line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += L' ';
        append_quoted(line, windows::to_wide(argument));
    }
    return line;
}

}  // namespace talvoro::test
