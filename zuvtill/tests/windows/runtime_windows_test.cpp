// What the runtime does on Windows alone: the DOS codes of the byte files
// as the system gives them (a file held by another open without sharing,
// a missing directory, a directory, a device), host names in code page 852
// whatever the machine's code pages, RunShell through cmd.exe telling a
// program that could not start from any status, and the kept directory
// found again.
//
// This program is its own helper: started as "--exit-with N ARGS", it
// writes ARGS to args.txt in the current directory and ends with status N.
// It has a main of its own and links gtest without gtest_main.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "runtime/byte_files.h"
#include "runtime/current_directory.h"
#include "runtime/shell.h"
#include "runtime/windows/handle.h"
#include "tests/fixtures.h"

namespace zuvtill::testing {
namespace {

namespace fs = std::filesystem;
using runtime::ByteFiles;
using runtime::ScopedHandle;

fs::path ThisProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return fs::path(path.substr(0, length));
    path.resize(path.size() * 2);
  }
}

// The environment variable set while this lives, then as before.
class EnvironmentSetting {
 public:
  EnvironmentSetting(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t buffer[32767];
    DWORD length = ::GetEnvironmentVariableW(name, buffer, 32767);
    if (length > 0) before_ = std::wstring(buffer, length);
    ::SetEnvironmentVariableW(name, value.c_str());
  }
  ~EnvironmentSetting() { ::SetEnvironmentVariableW(name_, before_ ? before_->c_str() : nullptr); }
  EnvironmentSetting(const EnvironmentSetting&) = delete;
  EnvironmentSetting& operator=(const EnvironmentSetting&) = delete;

 private:
  const wchar_t* name_;
  std::optional<std::wstring> before_;
};

std::wstring Path() {
  wchar_t buffer[32767];
  DWORD length = ::GetEnvironmentVariableW(L"PATH", buffer, 32767);
  return std::wstring(buffer, length);
}

class WindowsRuntimeTest : public RuntimeTest {
 protected:
  TempDirectory dir_;
  WorkingIn here_{dir_.path()};
};

TEST_F(WindowsRuntimeTest, ByteFilesAnswerTheSystemsDosCodes) {
  ByteFiles& files = rt().Files();
  fs::create_directory(dir_.File("FISK"));
  dir_.Write("FISK/HELD.TXT", "held");
  // Held open by another open that shares nothing, as another program
  // would hold it.
  ScopedHandle held(::CreateFileW(fs::path(dir_.File("FISK/HELD.TXT")).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.IsValid());
  struct Row {
    const char* what;
    std::string path;
    int code;
  };
  const Row rows[] = {
      {"held without sharing", "fisk\\held.txt", 32},
      {"no such directory", "NODIR\\FILE.TXT", 3},
      {"a directory", "FISK", 5},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(files.Open(row.path, ByteFiles::kRead), -1);
    EXPECT_EQ(files.LastError(), row.code);
    EXPECT_EQ(files.Create(row.path), -1);
    EXPECT_EQ(files.LastError(), row.code);
    EXPECT_EQ(files.Erase(row.path), -1);
    EXPECT_EQ(files.LastError(), row.code);
  }
  EXPECT_TRUE(fs::exists(dir_.File("FISK/HELD.TXT"))) << "neither emptied nor deleted";
  held.Close();
  EXPECT_EQ(files.Open("NOFILE.TXT", ByteFiles::kRead), -1);
  EXPECT_EQ(files.LastError(), 2);
  EXPECT_EQ(files.Open("NUL", ByteFiles::kRead), -1) << "a device is no file";
  EXPECT_EQ(files.LastError(), 5);

  int readOnly = files.Open("FISK\\HELD.TXT", ByteFiles::kRead);
  ASSERT_GE(readOnly, 5);
  EXPECT_EQ(files.Write(readOnly, "x"), 0);
  EXPECT_EQ(files.LastError(), 5);
  int writeOnly = files.Open("FISK\\HELD.TXT", ByteFiles::kWrite);
  ASSERT_GE(writeOnly, 5);
  EXPECT_EQ(files.Read(writeOnly, 4), "");
  EXPECT_EQ(files.LastError(), 5);
  EXPECT_EQ(files.Read(readOnly, 10), "held") << "the two opens share the file";
  EXPECT_EQ(files.Erase("FISK\\HELD.TXT"), -1) << "a file the host holds open stays";
  EXPECT_EQ(files.LastError(), 32);
  EXPECT_TRUE(files.Close(readOnly));
  EXPECT_TRUE(files.Close(writeOnly));
}

// A host name is code page 852 bytes, on every machine: "Ą" is 0xA4 there,
// whatever the machine's own OEM and ANSI code pages make of that byte.
TEST_F(WindowsRuntimeTest, HostNamesAreCodePage852OnEveryMachine) {
  ByteFiles& files = rt().Files();
  int h = files.Create("PLIK\xA4\xBE.TXT");  // "PLIKĄż.TXT"
  ASSERT_GE(h, 0);
  EXPECT_TRUE(files.Close(h));
  EXPECT_TRUE(fs::exists(fs::path(dir_.path()) / L"PLIK\u0104\u017C.TXT"));
  EXPECT_TRUE(files.Exists("plik\xA5\xBD.txt")) << "ą and Ż: the system matches the case";
  dir_.Write("inner.dbf", "");
  fs::create_directory(dir_.File("dane"));
  std::ofstream(fs::path(dir_.path()) / L"dane" / L"\u017Bab.dbf").put('x');
  rt().Data().SetPath(dir_.File("dane"));
  EXPECT_EQ(rt().Data().Aliases(), std::vector<std::string>{"\xBD" "AB"});
}

TEST_F(WindowsRuntimeTest, RunShellTellsAProgramThatCouldNotStartFromAnyStatus) {
  fs::copy_file(ThisProgram(), dir_.File("ELZABDR.EXE"));
  fs::create_directory(dir_.File("bin"));
  dir_.Write("bin/ELZABDR.EXE", "not a program");  // along PATH: the current directory comes first
  dir_.Write("bin/ONPATH.BAT", "@exit /b 6\r\n");
  dir_.Write("NOTEXE.EXE", "not a program\r\n");
  dir_.Write("ELF.EXE", std::string("\x7f" "ELF\x02\x01\x01", 7) + std::string(64, '\0'));
  dir_.Write("MZONLY.EXE", "MZ" + std::string(126, '\0'));
  dir_.Write("README.TXT", "a document\r\n");
  dir_.Write("JOB.BAT", "@exit /b 4\r\n");
  // The copy of this program finds its libraries beside the original.
  EnvironmentSetting path(L"PATH", fs::path(dir_.File("bin")).make_preferred().wstring() + L";" +
                                       ThisProgram().parent_path().wstring() + L";" + Path());
  struct Row {
    const char* command;
    std::optional<int> status;  // nothing: it could not start
  };
  const Row rows[] = {
      {"/C ELZABDR.EXE --exit-with 3 4 1 9600 25 Ai.fp6", 3},
      {"/C elzabdr --exit-with 5", 5},  // any case, its extension from PATHEXT
      {"/C ELZABDR.EXE --exit-with 9009", 9009},  // a program's own status, even the interpreter's number
      {"/C exit 9009", 9009},
      {"/C JOB.BAT", 4},
      {"/C ONPATH", 6},
      {"/C MISSING.EXE 4 1 9600 25 Ai.fp6", std::nullopt},
      {"/C NOTEXE.EXE", std::nullopt},
      {"/C ELF.EXE", std::nullopt},
      {"/C MZONLY.EXE", std::nullopt},
      {"/C README.TXT", std::nullopt},
      {"/C .\\MISSING.EXE", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(runtime::RunShell(row.command), row.status) << row.command;

  ASSERT_EQ(runtime::RunShell("/C ELZABDR.EXE --exit-with 0 4 * ***** 25 Ai.fp6"), 0);
  EXPECT_EQ(ReadBytes(dir_.File("args.txt")), "4 * ***** 25 Ai.fp6") << "no names expanded";
}

TEST(WindowsShell, AnInterpreterThatCannotStartIsNothing) {
  EnvironmentSetting comspec(L"ComSpec", L"C:\\nowhere\\cmd.exe");
  EXPECT_EQ(runtime::RunShell("/C exit 0"), std::nullopt);
}

// The kept directory is current again after a run in a directory below it,
// and a directory that took its path later is never taken for it.
TEST(WindowsKeptDirectory, IsFoundAgainAndNeverMistakenForAnotherOfItsPath) {
  TempDirectory dir;
  fs::create_directories(dir.File("host/FISK"));
  WorkingIn outside(dir.path());
  std::optional<runtime::KeptDirectory> kept;
  {
    WorkingIn host(dir.File("host"));
    kept.emplace();
    EXPECT_TRUE(kept->IsCurrent());
    fs::current_path(dir.File("host/FISK"));
    EXPECT_FALSE(kept->IsCurrent());
    ASSERT_TRUE(kept->MakeCurrent());
    EXPECT_TRUE(kept->IsCurrent());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), dir.File("host")));
  }
  fs::rename(dir.File("host"), dir.File("moved"));
  fs::create_directory(dir.File("host"));
  fs::current_path(dir.File("host"));
  EXPECT_FALSE(kept->IsCurrent()) << "another directory of the same path";
  // Windows names the moved directory by its new path; Wine still by the
  // old one, so there it is not found. Either way it is never the other
  // directory that took its path.
  const bool back = kept->MakeCurrent();
  EXPECT_EQ(back, kept->IsCurrent());
  if (back) {
    EXPECT_TRUE(fs::equivalent(fs::current_path(), dir.File("moved")));
  }
}

}  // namespace
}  // namespace zuvtill::testing

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--exit-with") {
    std::ofstream args("args.txt", std::ios::binary);
    for (int i = 3; i < argc; ++i) args << (i > 3 ? " " : "") << argv[i];
    return std::atoi(argv[2]);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
