// The library's side of the virtual-HID wire: the public interface finding, opening and reading a
// virtual mouse whose every reply is the input's (packets of a 16-bit little-endian length and
// its bytes, one per request; a zero length or the input's end hangs up, as an unplug does).
// Beyond no crash: the return rule holds (on any status but 1 the outputs are untouched), and a
// profile read from such a mouse never writes past its record.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "fuzz_support.h"
#include "hid/virtual/virtual_wire.h"
#include "sleep.h"
#include "talvoro_api.h"

namespace {

namespace wire = talvoro::hid::virtual_wire;

// The socket of a mouse in a folder of the process, bound once; connections are taken one input
// at a time.
int listener() {
    static const int fd = [] {
        const std::string folder = talvoro::fuzz::scratch_folder() + "/hid";
        mkdir(folder.c_str(), 0700);
        setenv("TALVORO_HID_DIR", folder.c_str(), 1);
        setenv("TALVORO_HID_BACKENDS", "virtual", 1);
        // The protocol's waits are the mouse's, and this mouse answers at once.
        talvoro::set_sleep_function([](std::chrono::milliseconds) {});
        const int socket_fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = folder + "/fuzz.if1" + wire::kSocketSuffix;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        if (socket_fd < 0 ||
            bind(socket_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(socket_fd, 4) != 0) {
            std::perror("virtual mouse socket");
            std::abort();
        }
        return socket_fd;
    }();
    return fd;
}

// Answers each request on every connection the library opens with the input's next packet.
void serve(const uint8_t* data, size_t size, int listen_fd, int stop_fd) {
    size_t at = 0;
    for (;;) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listen_fd, &ready);
        FD_SET(stop_fd, &ready);
        if (select(std::max(listen_fd, stop_fd) + 1, &ready, nullptr, nullptr, nullptr) <= 0 ||
            FD_ISSET(stop_fd, &ready)) {
            return;
        }
        const int connection = accept4(listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            continue;
        }
        uint8_t request[wire::kMaxPacket];
        while (recv(connection, request, sizeof request, 0) > 0) {
            const size_t length =
                at + 2 <= size ? std::min<size_t>(wire::get_u16(data + at), size - at - 2) : 0;
            if (length == 0) {
                break;
            }
            send(connection, data + at + 2, length, MSG_NOSIGNAL);
            at += 2 + length;
        }
        close(connection);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int listen_fd = listener();
    int stop[2];
    if (pipe(stop) != 0) {
        std::abort();
    }
    std::thread mouse(serve, data, size, listen_fd, stop[0]);

    if (Open_QX_device() != 0) {
        uint16_t version = 0xBEEF;
        if (Get_fw_version(&version) != 1) {
            FUZZ_CHECK(version == 0xBEEF);
        }
        uint8_t slot = 0xEE;
        if (Get_current_profile_id(&slot) != 1) {
            FUZZ_CHECK(slot == 0xEE);
        }
        // Exactly one record on the heap: a byte written past it is AddressSanitizer's.
        auto record = std::make_unique<ProfileRecord>();
        std::memset(record.get(), 0xA5, sizeof(ProfileRecord));
        if (Read_profile(0, record.get()) != 1) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(record.get());
            FUZZ_CHECK(std::all_of(bytes, bytes + sizeof(ProfileRecord),
                                   [](uint8_t byte) { return byte == 0xA5; }));
        }
        Close_QX_device();
    }
    const char done = 1;
    FUZZ_CHECK(write(stop[1], &done, 1) == 1);
    mouse.join();
    close(stop[0]);
    close(stop[1]);
    return 0;
}
