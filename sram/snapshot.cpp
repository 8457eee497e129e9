#include "sram/snapshot.h"

#include <cstdio>

#include "platform/file_read.h"
#include "platform/folders.h"
#include "platform/path_text.h"

namespace sram {

std::string NumberedName(std::string_view stem, int n) {
  std::string name(stem);
  if (n >= 2) name += "-" + std::to_string(n);
  return name + ".srm";
}

std::string FirstFreePath(std::string_view folder, std::string_view stem) {
  for (int n = 1;; ++n) {
    std::string path = platform::JoinPath(folder, NumberedName(stem, n));
    if (platform::KindOfEntry(path) == platform::EntryKind::Missing) return path;
  }
}

std::string SnapshotStem(std::string_view slot, const platform::LocalTime& time) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", time.year, time.month,
                time.day, time.hour, time.minute, time.second);
  return "slot" + std::string(slot) + "-" + stamp;
}

std::optional<std::string> NewSnapshotPath(std::string_view appDir, std::string_view slot,
                                           const platform::LocalTime& time) {
  const std::string folder = platform::JoinPath(appDir, kSnapshotFolder);
  if (!platform::MakeFolder(folder)) return std::nullopt;
  return FirstFreePath(folder, SnapshotStem(slot, time));
}

std::size_t DifferingBytes(std::string_view sent, std::string_view slot) {
  std::size_t differing = 0;
  for (std::size_t i = 0; i < sent.size(); ++i) {
    if (i >= slot.size() || sent[i] != slot[i]) ++differing;
  }
  return differing;
}

}  // namespace sram
