#include "shell/language/web_addresses.h"

#include <array>
#include <cstddef>

#include "shell/language/language.h"

namespace talvoro::shell {
namespace {

// English, traditional Chinese, simplified Chinese, German.
using Addresses = std::array<const char*, 4>;

// Newer software and newer firmware are offered on the same support pages.
constexpr Addresses kSupport = {
    "https://www.talvoro.example/en/support/software",
    "https://www.talvoro.example/zh-tw/support/software",
    "https://www.talvoro.example/zh-cn/support/software",
    "https://www.talvoro.example/en/support/software",
};
// The link texts show these two as they are kept, one blank on each side.
constexpr Addresses kMainSite = {
    " https://www.talvoro.example/en/ ",
    " https://www.talvoro.example/zh-tw/ ",
    " https://www.talvoro.example/zh-cn/ ",
    " https://www.talvoro.example/de/ ",
};
constexpr Addresses kSocialNetwork = {
    " https://social.talvoro.example/talvoro.gaming ",
    " https://social.talvoro.example/talvoro.gaming.tw ",
    " https://social.talvoro.example/talvoro.gaming.cn ",
    " https://social.talvoro.example/talvoro.gaming ",
};

}  // namespace

const char* web_address(WebAddress which, int language) {
    const auto index = static_cast<size_t>(known_language(language));
    switch (which) {
        case WebAddress::kAppUpdate:
        case WebAddress::kFirmwareUpdate:
            return kSupport[index];
        case WebAddress::kMainSite:
            return kMainSite[index];
        case WebAddress::kSocialNetwork:
            return kSocialNetwork[index];
    }
    return "";
}

}  // namespace talvoro::shell
