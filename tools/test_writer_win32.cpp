// telvo-test-writer on Windows: the grandchild is this program again, started with inherited
// output handles.
#include <windows.h>

#include <string>
#include <vector>

#include "test_writer_platform.h"

namespace test_writer {

long StartGrandchild(long ms) {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;
  std::string line =
      "\"" + std::string(self) + "\" sleep " + std::to_string(ms) + " text \"grandchild done\n\"";
  std::vector<char> mutableLine(line.begin(), line.end());
  mutableLine.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return 0;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(process.dwProcessId);
}

std::string DescribeDescriptors() { return "fds: unknown"; }

}  // namespace test_writer
