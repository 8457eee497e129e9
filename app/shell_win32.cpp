// Opening a web page on Windows: the shell's "open" verb hands it to the default browser.
#include "app/shell.h"

#include "platform/codepage.h"

#include <windows.h>

#include <shellapi.h>

namespace app {

void OpenInBrowser(std::string_view url) {
  std::string ansiUrl = platform::Utf8ToAnsi(url);
  // A missing browser changes nothing and shows nothing, so the result is not looked at.
  ::ShellExecuteA(nullptr, "open", ansiUrl.c_str(), /*parameters=*/nullptr,
                  /*directory=*/nullptr, SW_SHOWNORMAL);
}

}  // namespace app
