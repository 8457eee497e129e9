// Opening a web page in the user's browser.
#pragma once

#include <string_view>

namespace app {

// Hands url to the system's handler for web addresses and returns at once, without waiting for
// the browser and without reporting anything: a missing browser changes nothing.
// Linux: xdg-open, started directly (never through a shell) and not waited on.
// Windows: ShellExecuteA with the verb "open" and SW_SHOWNORMAL.
void OpenInBrowser(std::string_view url);

}  // namespace app
