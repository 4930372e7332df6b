// On Windows an interface of a virtual mouse is announced by a file in the virtual-HID folder
// that holds the name of the named pipe serving it (UTF-8, nothing else): Wine cannot list
// \\.\pipe\, and a file gives watchers the same appear/vanish events as a Unix socket.
#pragma once

#include <cstddef>
#include <string>

namespace talvoro::hid::virtual_wire {

// Every announced pipe's name starts so; a file naming any other pipe is ignored.
inline constexpr const wchar_t* kPipePrefix = L"\\\\.\\pipe\\talvoro-hid-";
// Longest announcement read; pipe names are far shorter.
inline constexpr size_t kMaxAnnouncement = 256;

// The pipe `file` (UTF-8 path) announces; empty when it cannot be read or is no announcement.
std::wstring announced_pipe(const std::string& file);

// Whether anyone serves `pipe` now (all its instances being busy counts). A file left behind by
// a mouse that was killed names a pipe no one serves.
bool pipe_is_served(const std::wstring& pipe);

}  // namespace talvoro::hid::virtual_wire
