// A host's connection to one interface of the virtual mouse, spoken to in the wire format
// without the library: what the program itself puts on its system's transport (a
// SOCK_SEQPACKET socket on Linux, the named pipe an interface file names on Windows).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace talvoro::test {

using Bytes = std::vector<uint8_t>;

inline constexpr uint8_t kInfo = 1, kSetFeature = 2, kGetFeature = 3;
inline constexpr uint8_t kFailed = 0, kOk = 1;

class RawClient {
  public:
    // Connects to the interface whose file is `path`.
    explicit RawClient(const std::string& path);
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const;
    // Sends one packet and returns the reply packet; empty when the mouse
    // closed the connection or did not answer within 2 s.
    Bytes exchange(const Bytes& packet);
    // Sends one packet and does not wait for the reply; false when it could not be sent.
    bool send_only(const Bytes& packet);

    Bytes set_command(uint8_t code, uint8_t slot = 0) {
        Bytes packet(1 + 64, 0);
        packet[0] = kSetFeature;
        packet[1] = 0x60;
        packet[2] = code;
        packet[6] = slot;
        return exchange(packet);
    }
    Bytes get_report(uint8_t id, uint16_t length) {
        return exchange({kGetFeature, static_cast<uint8_t>(length & 0xFF),
                         static_cast<uint8_t>(length >> 8), id});
    }

  private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace talvoro::test
