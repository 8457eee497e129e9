#include "tools/sim_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace sim {
namespace fs = std::filesystem;

namespace {

std::string Reason(const fs::path& file) {
  const int reason = errno;  // before the name's conversion can change it
  return NameOf(file) + ": " + std::strerror(reason);
}

}  // namespace

bool ReadFile(const fs::path& file, std::string& bytes, std::string& error) {
  std::FILE* in = OpenFile(file, "rb");
  if (in == nullptr) {
    error = Reason(file);
    return false;
  }
  bytes.clear();
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(in) != 0;
  if (failed) error = Reason(file);
  std::fclose(in);
  return !failed;
}

bool ReplaceFile(const fs::path& file, const std::string& bytes, std::string& error) {
  fs::path temp = file;
  temp += ".sim-tmp";
  std::FILE* out = OpenFile(temp, "wb");
  if (out == nullptr) {
    error = Reason(temp);
    return false;
  }
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0;
  const bool closed = std::fclose(out) == 0;
  if (!written || !closed) {
    error = Reason(temp);
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
  }
  std::error_code ec;
  fs::rename(temp, file, ec);
  if (ec) {
    error = NameOf(file) + ": " + ec.message();
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

bool LoadOrCreate(const fs::path& file, std::size_t size, char fill, std::string& bytes,
                  std::string& error) {
  std::error_code ec;
  if (!fs::exists(file, ec)) {
    bytes.assign(size, fill);
    return ReplaceFile(file, bytes, error);
  }
  if (!ReadFile(file, bytes, error)) return false;
  bytes.resize(size, fill);
  return true;
}

}  // namespace sim

namespace sim {

bool BackUpExisting(const fs::path& file, std::string& error) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return true;
  fs::path backup = file;
  backup.replace_extension(".bak");
  fs::rename(file, backup, ec);
  if (ec) {
    error = "cannot keep " + NameOf(file) + " as " + NameOf(backup) + ": " + ec.message();
    return false;
  }
  return true;
}

}  // namespace sim
