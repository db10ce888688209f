// What the runtime does on POSIX alone: programs run through /bin/sh or
// started directly with the current directory searched first, file names
// matched whatever their case, and the host's directory kept by its
// descriptor.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tests/fixtures.h"
#include "runtime/byte_files.h"
#include "runtime/current_directory.h"
#include "runtime/data_directory.h"
#include "runtime/shell.h"

namespace zuvtill::testing {
namespace {

class ShellTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    ASSERT_EQ(::getcwd(saved_, sizeof saved_), saved_);
    ASSERT_EQ(::chdir(dir_.path().c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(::chdir(saved_), 0);
    RuntimeTest::TearDown();
  }
  void Program(const std::string& name, const std::string& body, mode_t mode = 0755) {
    dir_.Write(name, "#!/bin/sh\n" + body + "\n");
    ::chmod(dir_.File(name).c_str(), mode);
  }

  TempDirectory dir_;
  char saved_[4096];
};

TEST_F(ShellTest, FindsTheProgramInTheCurrentDirectoryFirst) {
  Program("ELZABDR.EXE", "echo \"$@\" > args.txt; exit 3");
  EXPECT_EQ(runtime::RunShell("/C ELZABDR.EXE 4 1 9600 25 Ai.fp6"), 3);
  std::ifstream args(dir_.File("args.txt"));
  std::string line;
  std::getline(args, line);
  EXPECT_EQ(line, "4 1 9600 25 Ai.fp6");
  // The asterisks of a port or speed that did not fit reach the program
  // as they stand: the Windows interpreter expands no file names.
  EXPECT_EQ(runtime::RunShell("/C ELZABDR.EXE 4 * ***** 25 Ai.fp6"), 3);
  std::ifstream starred(dir_.File("args.txt"));
  std::getline(starred, line);
  EXPECT_EQ(line, "4 * ***** 25 Ai.fp6");
  EXPECT_EQ(runtime::RunShell("/C elzabdr.exe"), 3);  // any case, as on Windows
  EXPECT_EQ(runtime::RunShell("/C true"), 0);         // then along PATH
}

TEST_F(ShellTest, AProgramThatRanIsToldApartFromOneThatCouldNotStartWhateverItsStatus) {
  // 126 and 127 are also what a shell answers for a program it could not
  // run: the answer does not rest on the status.
  Program("EXIT126.EXE", "exit 126");
  Program("EXIT127.EXE", "exit 127");
  Program("LOCKED.EXE", "exit 0", 0644);
  dir_.Write("NOSHELL.EXE", "#!/nonexistent/sh\nexit 0\n");
  dir_.Write("SCRIPT.EXE", "exit 126\n");
  for (const char* name : {"NOSHELL.EXE", "SCRIPT.EXE"}) ::chmod(dir_.File(name).c_str(), 0755);
  ::mkdir(dir_.File("bin").c_str(), 0755);
  Program("bin/exit126", "exit 126");
  const char* searched = ::getenv("PATH");
  const std::string path = searched ? searched : "";
  ::setenv("PATH", (dir_.File("bin") + ":" + path).c_str(), 1);
  struct Row {
    const char* command;
    std::optional<int> status;  // nothing: it could not start
  };
  const Row rows[] = {
      {"/C EXIT126.EXE", 126},
      {"/C exit127.exe 4 1", 127},
      {"/C ./EXIT127.EXE", 127},
      {"/C exit126", 126},     // along PATH
      {"/C SCRIPT.EXE", 126},  // no "#!": a shell script, as the shell runs one
      {"/C exit 5", 5},        // the shell's own commands
      {"/C exit 127", 127},
      {"/C MISSING.EXE 3", std::nullopt},
      {"/C ./MISSING.EXE", std::nullopt},
      {"/C LOCKED.EXE", std::nullopt},
      {"/C NOSHELL.EXE", std::nullopt},  // its interpreter is missing
  };
  for (const Row& row : rows) EXPECT_EQ(runtime::RunShell(row.command), row.status) << row.command;
  ::setenv("PATH", path.c_str(), 1);
}

TEST_F(ShellTest, AStartedProgramInheritsNeitherTablesNorByteFiles) {
  MakeTable(dir_.File("vat.dbf"), {{"SYMBOL", 'C', 4, 0, 0}}, {{T("23")}});
  rt().Areas().Open("vat", runtime::DbfTable::Open(dir_.File("vat.dbf")), {});
  ASSERT_GE(rt().Files().Open("vat.dbf", runtime::ByteFiles::kRead), 0);
  EXPECT_EQ(runtime::RunShell("/C ls -l /proc/$$/fd | grep -q 'vat.dbf' && exit 9 || exit 0"), 0);
}

// Of the spellings of a table's name that a POSIX directory can hold side
// by side, the lower-case one is taken, another when it is the only one.
TEST_F(RuntimeTest, ATableInAnotherSpellingIsFoundWhenItIsTheOnlyOne) {
  struct Case {
    std::vector<std::string> files;
    std::string alias, found;
  };
  const Case cases[] = {
      {{"VAT.DBF"}, "vat", "VAT.DBF"},
      {{"Vat.Dbf", "vat.dbf", "VAT.DBF"}, "Vat", "vat.dbf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alias);
    TempDirectory dir;
    for (const std::string& f : c.files) dir.Write(f, "");
    rt().Data().SetPath(dir.path());
    EXPECT_EQ(rt().Data().TableFile(c.alias), dir.File(c.found));
  }
}

// The kept directory is found again after it moved, and a directory that
// took its path is not taken for it.
TEST(KeptDirectory, FindsTheDirectoryAgainWhereverItMoved) {
  TempDirectory dir;
  std::filesystem::create_directory(dir.File("host"));
  WorkingIn outside(dir.path());
  std::optional<runtime::KeptDirectory> kept;
  {
    WorkingIn host(dir.File("host"));
    kept.emplace();
    EXPECT_TRUE(kept->IsCurrent());
  }
  EXPECT_FALSE(kept->IsCurrent());
  std::filesystem::rename(dir.File("host"), dir.File("moved"));
  std::filesystem::create_directory(dir.File("host"));
  std::filesystem::current_path(dir.File("host"));
  EXPECT_FALSE(kept->IsCurrent()) << "another directory of the same path";
  ASSERT_TRUE(kept->MakeCurrent());
  EXPECT_TRUE(kept->IsCurrent());
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir.File("moved")));
}

}  // namespace
}  // namespace zuvtill::testing
