#include "support/test_support.h"

#include "platform/folders.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <linux/capability.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() /
                         ("telvo-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::file(std::string_view name) const { return (path_ / name).string(); }

void WriteBytes(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::string(std::istreambuf_iterator<char>(in), {});
}

CurrentDirGuard::CurrentDirGuard() : saved_(fs::current_path()) {}
CurrentDirGuard::~CurrentDirGuard() {
  std::error_code ec;
  fs::current_path(saved_, ec);
}

std::string BuildToolsDir() { return platform::ApplicationDirectory(); }

#ifndef _WIN32
namespace {

bool Capabilities(__user_cap_data_struct (&data)[2], bool set) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

}  // namespace

WithoutReadOverride::WithoutReadOverride() {
  __user_cap_data_struct data[2]{};
  if (!Capabilities(data, false)) return;
  saved_[0] = data[0].effective;
  saved_[1] = data[1].effective;
  data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  Capabilities(data, true);
}

WithoutReadOverride::~WithoutReadOverride() {
  __user_cap_data_struct data[2]{};
  if (!Capabilities(data, false)) return;
  data[0].effective = saved_[0];
  data[1].effective = saved_[1];
  Capabilities(data, true);
}
#endif

std::size_t Occurrences(std::string_view text, std::string_view part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

long HelperPid(const std::string& text) {
  const std::size_t at = text.find("helper ");
  return at == std::string::npos ? 0 : std::atol(text.c_str() + at + 7);
}

bool HasEnded(long pid) {
#ifdef _WIN32
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return true;
  const bool ended = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
#else
  for (int i = 0; i < 1000; ++i) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidField, name, state;
    // A zombie has ended; only its parent's reaping is left.
    if (!(stat >> pidField >> name >> state) || state == "Z") return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
#endif
}

void EndHelper(long pid) {
#ifdef _WIN32
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return;
  TerminateProcess(process, 1);
  CloseHandle(process);
#else
  kill(static_cast<pid_t>(pid), SIGKILL);
#endif
}

}  // namespace testing_support
