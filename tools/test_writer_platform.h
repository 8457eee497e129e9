// The parts of telvo-test-writer that differ per system.
#pragma once

#include <string>

namespace test_writer {

// Starts a process that inherits the output, waits ms milliseconds, writes "grandchild done\n"
// and ends; returns at once. False when it cannot be started.
bool StartGrandchild(long ms);

// "fds:" and this process's open descriptors, or "fds: unknown".
std::string DescribeDescriptors();

}  // namespace test_writer
