#include "support/tool_log.h"

#include <filesystem>

#include "support/test_support.h"

namespace testing_support {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '%' && i + 2 < value.size() && HexValue(value[i + 1]) >= 0 &&
        HexValue(value[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(value[i + 1]) * 16 + HexValue(value[i + 2]));
      i += 2;
      continue;
    }
    out += value[i];
  }
  return out;
}

bool TakeField(std::string_view line, std::string_view key, std::string& value) {
  if (line.substr(0, key.size() + 1) != std::string(key) + " ") return false;
  value = Unescape(line.substr(key.size() + 1));
  return true;
}

}  // namespace

std::vector<ToolRun> ParseToolLog(std::string_view text) {
  std::vector<ToolRun> runs;
  std::optional<ToolRun> current;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) break;  // a line still being written
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    std::string value;
    if (line == "run") {
      current = ToolRun{};
    } else if (!current) {
      continue;
    } else if (line == "end") {
      runs.push_back(std::move(*current));
      current.reset();
    } else if (line == "unset") {
      current->home.reset();
    } else if (TakeField(line, "cwd", value)) {
      current->cwd = value;
    } else if (TakeField(line, "home", value)) {
      current->home = value;
    } else if (TakeField(line, "arg", value)) {
      current->args.push_back(value);
    }
  }
  return runs;
}

std::vector<ToolRun> ReadToolLog(const std::string& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {};
  return ParseToolLog(ReadBytes(file));
}

}  // namespace testing_support
