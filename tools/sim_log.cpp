#include "tools/sim_log.h"

#include <cstdio>

namespace sim {

std::string EscapeLogValue(std::string_view value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && c != '%') {
      out += c;
      continue;
    }
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
  }
  return out;
}

std::string FormatLogRecord(const std::vector<std::string>& args, std::string_view cwd,
                            const char* home) {
  std::string record = "run\ncwd " + EscapeLogValue(cwd) + "\n";
  record += home != nullptr ? "home " + EscapeLogValue(home) + "\n" : "unset\n";
  for (const std::string& arg : args) record += "arg " + EscapeLogValue(arg) + "\n";
  record += "end\n";
  return record;
}

bool AppendLogRecord(const std::string& logFile, const std::string& record) {
  std::FILE* log = std::fopen(logFile.c_str(), "ab");
  if (log == nullptr) return false;
  const bool written = std::fwrite(record.data(), 1, record.size(), log) == record.size();
  return std::fclose(log) == 0 && written;
}

}  // namespace sim
