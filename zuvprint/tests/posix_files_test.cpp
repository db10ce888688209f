// What only a POSIX system has: named pipes and endless devices are no
// files to read, and the readers that take a path refuse them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "platform/profile_reader.h"

namespace zuvprint::platform {
namespace {

TEST(ProfileFile, UnreadablePathsAnswerFallback) {
  const std::string missing =
      (std::filesystem::temp_directory_path() / "profile_reader_test_no_such_file.ini").string();
  const std::string directory = std::filesystem::temp_directory_path().string();
  // Opening a named pipe without a writer would wait for ever.
  const std::string pipe =
      (std::filesystem::temp_directory_path() / ("profile_reader_test_pipe_" + std::to_string(::getpid()))).string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // /dev/zero never ends: reading it whole would exhaust memory.
  for (const std::string& path : {missing, directory, std::string(), std::string("/dev/zero"), pipe}) {
    SCOPED_TRACE(path);
    ProfileReader reader = ProfileReader::FromFile(path);
    EXPECT_EQ(reader.GetString("S", "k", "fallback"), "fallback");
    EXPECT_FALSE(FileExists(path));
  }
  std::filesystem::remove(pipe);
}

}  // namespace
}  // namespace zuvprint::platform
