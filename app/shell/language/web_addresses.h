// The vendor's addresses that the support page opens, per language.
#pragma once

namespace talvoro::shell {

enum class WebAddress { kAppUpdate, kFirmwareUpdate, kMainSite, kSocialNetwork };

// German readers get the English pages, except for the vendor's German main site. A language
// outside 0..3 is English. The main site and the social page come with a blank on each side,
// as their link texts show them; the opener trims them.
const char* web_address(WebAddress which, int language);

}  // namespace talvoro::shell
