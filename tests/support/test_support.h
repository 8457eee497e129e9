// Small helpers shared by the test programs.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

// A fresh folder under the system's temporary directory, removed with everything in it when
// the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  // path() / name, as a string.
  std::string file(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& file);

// Restores the current directory when it goes away.
class CurrentDirGuard {
 public:
  CurrentDirGuard();
  ~CurrentDirGuard();

 private:
  std::filesystem::path saved_;
};

#ifndef _WIN32
// While it lives, this thread reads files as any other user does: root's override of file
// modes is set aside (the tests run as root), so a file of mode 000 cannot be read.
class WithoutReadOverride {
 public:
  WithoutReadOverride();
  ~WithoutReadOverride();
  WithoutReadOverride(const WithoutReadOverride&) = delete;
  WithoutReadOverride& operator=(const WithoutReadOverride&) = delete;

 private:
  unsigned saved_[2] = {0, 0};  // the effective capabilities before
};
#endif

// How often part occurs in text, overlaps counted.
std::size_t Occurrences(std::string_view text, std::string_view part);

// The process id that the test writer's "helper" step printed into text; 0 when there is none.
long HelperPid(const std::string& text);
// Waits until process pid has ended, for ten seconds at most; false when it still runs then.
bool HasEnded(long pid);
// Ends process pid, should a test leave it running.
void EndHelper(long pid);

// The folder that holds the test programs and the helper programs built beside them
// (ucon64 simulator, recording fake tool).
std::string BuildToolsDir();

}  // namespace testing_support
