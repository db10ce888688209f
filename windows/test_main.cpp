// The tests' main under Windows: standard output in binary mode, so test
// lists and results reach CTest (through Wine) with plain line ends.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>

#include <cstdio>

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
