// The listening socket of one interface: its appearance in the virtual-HID
// folder is the plug-in, its removal the unplug.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "linux/unique_fd.h"

namespace talvoro::virtual_mouse::posix {

class InterfaceSocket {
  public:
    // Binds and listens on `path` (SOCK_SEQPACKET, non-blocking). A stale
    // socket left by a dead mouse is replaced; a live one, or any other
    // file, is not.
    static std::optional<InterfaceSocket> create(const std::string& path, std::string* error);

    InterfaceSocket(InterfaceSocket&& other) noexcept;
    InterfaceSocket& operator=(InterfaceSocket&& other) noexcept;
    ~InterfaceSocket();

    int fd() const { return fd_.get(); }
    const std::string& path() const { return path_; }
    // A new connection (non-blocking), or an invalid one when none waits.
    UniqueFd accept();

  private:
    InterfaceSocket(UniqueFd fd, std::string path, dev_t device, ino_t inode);
    // Unlinks the socket file, unless something else has been put there.
    void remove();

    UniqueFd fd_;
    std::string path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

// True when `path` fits a Unix socket address.
bool fits_socket_address(const std::string& path);

}  // namespace talvoro::virtual_mouse::posix
