#include "hid/virtual/virtual_wire.h"

namespace talvoro::hid::virtual_wire {

bool decode_info_reply(const uint8_t* reply, size_t length, InfoReply* out) {
    if (length < 7 || reply[0] != kOk)
        return false;
    out->vendor_id = get_u16(reply + 1);
    out->product_id = get_u16(reply + 3);
    out->version = get_u16(reply + 5);
    out->descriptor = reply + 7;
    out->descriptor_length = length - 7;
    return true;
}

void encode_get_feature(uint8_t* request, uint8_t report_id, uint16_t length) {
    request[0] = kGetFeature;
    put_u16(request + 1, length);
    request[3] = report_id;
}

}  // namespace talvoro::hid::virtual_wire
