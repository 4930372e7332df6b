// The virtual mouse's configuration interface as its server describes it, for the wire targets
// and the seed session that answer requests without the server around them.
#pragma once

#include "report_descriptors.h"
#include "wire_responder.h"

namespace talvoro::fuzz {

inline virtual_mouse::InterfaceIdentity configuration_interface() {
    virtual_mouse::InterfaceIdentity interface;
    interface.number = 1;
    interface.vendor_id = TALVORO_VENDOR_ID;
    interface.product_id = TALVORO_PRODUCT_ID;
    interface.version = virtual_mouse::kDeviceVersion;
    interface.descriptor = virtual_mouse::configuration_descriptor();
    interface.has_feature_reports = true;
    return interface;
}

}  // namespace talvoro::fuzz
