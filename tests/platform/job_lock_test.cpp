// The application directory's job lock: one holder at a time, released when its holder goes,
// also when the holder is a program killed outright.
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "platform/job_lock.h"
#include "support/test_support.h"

namespace {

using platform::JobLock;
using testing_support::TempDir;
namespace fs = std::filesystem;

TEST(JobLock, OneHolderAtATimeAndFreeAgainWhenItGoes) {
  TempDir folder;
  {
    const JobLock first(folder.str());
    EXPECT_EQ(first.state(), JobLock::State::Held);
    const JobLock second(folder.str());
    EXPECT_EQ(second.state(), JobLock::State::Busy);
  }
  const JobLock again(folder.str());
  EXPECT_EQ(again.state(), JobLock::State::Held);
  EXPECT_TRUE(fs::is_regular_file(folder.path() / platform::kJobLockFileName));
}

TEST(JobLock, AFolderWithoutRoomForTheLockFileIsNoHolder) {
  TempDir folder;
  fs::create_directory(folder.path() / platform::kJobLockFileName);
  EXPECT_EQ(JobLock(folder.str()).state(), JobLock::State::Unavailable);
  EXPECT_EQ(JobLock((folder.path() / "gone").string()).state(), JobLock::State::Unavailable);
}

#ifndef _WIN32
TEST(JobLock, AHolderKilledOutrightLeavesTheFolderFree) {
  TempDir folder;
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const JobLock held(folder.str());
    const char state = held.state() == JobLock::State::Held ? 'H' : 'x';
    if (write(ready[1], &state, 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  close(ready[1]);
  char state = 0;
  ASSERT_EQ(read(ready[0], &state, 1), 1);
  close(ready[0]);
  EXPECT_EQ(state, 'H');
  EXPECT_EQ(JobLock(folder.str()).state(), JobLock::State::Busy);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(JobLock(folder.str()).state(), JobLock::State::Held);
}
#endif

}  // namespace
