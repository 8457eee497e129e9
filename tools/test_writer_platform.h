// The parts of telvo-test-writer that differ per system.
#pragma once

#include <string>

namespace test_writer {

// Starts a process that inherits the output, waits ms milliseconds, writes "grandchild done\n"
// and ends; returns its process id at once, or 0 when it cannot be started.
long StartGrandchild(long ms);

// "fds:" and this process's open descriptors, or "fds: unknown".
std::string DescribeDescriptors();

}  // namespace test_writer
