#include "config/tool_config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string ChildSees(const char* command) {
  std::FILE* pipe = ::popen(command, "r");
  if (!pipe) return "<popen failed>";
  std::string out;
  char buffer[256];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  ::pclose(pipe);
  return out;
}

TEST(ToolEnvironment, ChildStartedAfterwardsSeesTheHome) {
  const std::string dirs[] = {"/opt/Telvo Flash", "/", "/tmp/a'b\"c $HOME"};
  for (const std::string& dir : dirs) {
    ASSERT_TRUE(config::SetToolEnvironment(dir));
    EXPECT_EQ(ChildSees("printf %s \"$UCON64_HOME\""), dir);
  }
  ::unsetenv("UCON64_HOME");
}

}  // namespace
