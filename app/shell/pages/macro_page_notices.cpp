#include "shell/pages/macro_page_notices.h"

#include <cstdio>
#include <cstring>

#include "shell/language/text_table.h"
#include "shell/pages/page_host.h"

namespace talvoro::shell {

void tell_not_saved(PageHost& host, const std::string& path, int error) {
    char message[1024];
    std::snprintf(message, sizeof message, text(TextRow::kFileNotSaved), path.c_str(),
                  std::strerror(error));
    host.show_notice(message);
}

}  // namespace talvoro::shell
