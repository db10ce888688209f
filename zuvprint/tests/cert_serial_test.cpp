#include "ksef/cert_serial.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/process.h"
#include "program_run.h"
#include "test_helpers.h"

namespace zuvprint {
namespace {

using testing::ErrorOf;

namespace fs = std::filesystem;

// Writes an executable file.
std::string WriteProgram(const testing::ScratchDir& dir, const std::string& name, const std::string& text) {
  dir.Write(name, text);
  std::string path = (dir / name).string();
  ::chmod(path.c_str(), 0755);
  return path;
}

// The openssl program on PATH, or empty.
std::string FindOpenssl() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    fs::path candidate = fs::path(dir) / "openssl";
    if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return "";
}


// --- Reading openssl's output ------------------------------------------

struct OutputCase {
  const char* name;
  std::string output;
  std::string serial;
};

void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

class SerialFromOutput : public ::testing::TestWithParam<OutputCase> {};

TEST_P(SerialFromOutput, IsTheRestOfTheMarkersLine) {
  EXPECT_EQ(SerialZWyjsciaOpenSSL(GetParam().output), GetParam().serial);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, SerialFromOutput,
    ::testing::Values(OutputCase{"lf", "serial=7E1F00C0FFEE42\n", "7E1F00C0FFEE42"},
                      OutputCase{"cr_lf", "serial=0A1B2C\r\n", "0A1B2C"},
                      OutputCase{"no_line_end", "serial=0A1B2C", "0A1B2C"},
                      OutputCase{"marker_in_capitals", "SERIAL=0A1B\r\n", "0A1B"},
                      OutputCase{"serial_keeps_its_case", "Serial=0a1b\n", "0a1b"},
                      OutputCase{"blanks_and_controls_around", "serial= \t0A1B \x01\r\n", "0A1B"},
                      OutputCase{"text_before_the_marker", "warning: x\nserial=FF\n", "FF"},
                      OutputCase{"later_lines_are_not_the_serial", "serial=FF\r\nwarning: y\r\n", "FF"},
                      OutputCase{"first_marker_counts", "serial=01\nserial=02\n", "01"},
                      OutputCase{"empty_serial", "serial=\r\n", ""},
                      OutputCase{"no_marker", "Could not open file\n", ""},
                      OutputCase{"marker_misspelt", "serial:0A\n", ""},
                      OutputCase{"empty_output", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The real openssl program -----------------------------------------

class RealOpenssl : public ::testing::Test {
 protected:
  void SetUp() override {
    openssl_ = FindOpenssl();
    if (openssl_.empty()) GTEST_SKIP() << "no openssl program";
    // A name that a shell would split and interpret.
    cert_ = (dir_ / "cert 'x\" $HOME;.crt").string();
    platform::ProcessResult r = platform::RunProcess(
        openssl_, {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-keyout",
                   (dir_ / "key.pem").string(), "-out", cert_, "-subj", "/CN=ZuvPrint test", "-days", "2",
                   "-set_serial", "0x7E1F00C0FFEE42"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
  }

  testing::ScratchDir dir_;
  std::string openssl_;
  std::string cert_;
};

TEST_F(RealOpenssl, PrintsTheSerialOfTheCertificate) {
  EXPECT_EQ(PobierzSerialCert(openssl_, cert_), "7E1F00C0FFEE42");
  // A bare program name is found on PATH.
  EXPECT_EQ(PobierzSerialCert("openssl", cert_), "7E1F00C0FFEE42");
}

TEST_F(RealOpenssl, MissingOrBrokenCertificateIsExitCode1) {
  dir_.Write("broken.crt", "-----BEGIN CERTIFICATE-----\nAAAA\n-----END CERTIFICATE-----\n");
  for (const std::string& cert : {(dir_ / "none.crt").string(), (dir_ / "broken.crt").string()})
    EXPECT_EQ(ErrorOf([&] { PobierzSerialCert(openssl_, cert); }), "OpenSSL exit code: 1") << cert;
}

// --- Programs that cannot be started ----------------------------------

TEST(PobierzSerialCert, ProgramThatCannotStartIsReported) {
  testing::ScratchDir dir;
  dir.Write("plain.txt", "not a program");  // no execute permission
  // No "#!": only a shell would run it, and none is used.
  WriteProgram(dir, "noshebang", "echo serial=01\n");
  struct {
    std::string program;
    std::string reason;
  } cases[] = {
      {(dir / "no-such-openssl").string(), "No such file or directory"},
      {(dir / "plain.txt").string(), "Permission denied"},
      {dir.Path().string(), "Permission denied"},
      {(dir / "noshebang").string(), "Exec format error"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ErrorOf([&] { PobierzSerialCert(c.program, "c.crt"); }), "CreateProcess failed: " + c.reason)
        << c.program;
}

// --- Stand-ins for openssl: output forms and exit codes -----------------

TEST(PobierzSerialCert, PassesTheArgumentsUnchangedWithoutAShell) {
  testing::ScratchDir dir;
  std::string log = (dir / "args.txt").string();
  std::string program =
      WriteProgram(dir, "openssl", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + log +
                                       "'\nprintf 'serial=01\\n'\n");
  std::string cert = "dir with blanks/it's \"quoted\" $(false);|*.crt";
  EXPECT_EQ(PobierzSerialCert(program, cert), "01");
  std::ifstream in(log);
  std::vector<std::string> args;
  for (std::string line; std::getline(in, line);) args.push_back(line);
  EXPECT_EQ(args, (std::vector<std::string>{"x509", "-in", cert, "-noout", "-serial"}));
}

struct FakeCase {
  const char* name;
  std::string script;  // body of a /bin/sh script
  std::string serial;  // the answer, when error is empty
  std::string error;
};

void PrintTo(const FakeCase& c, std::ostream* os) { *os << c.name; }

class FakeOpenssl : public ::testing::TestWithParam<FakeCase> {};

TEST_P(FakeOpenssl, AnswersTheSerialOrRaises) {
  const FakeCase& c = GetParam();
  testing::ScratchDir dir;
  std::string program = WriteProgram(dir, "openssl", "#!/bin/sh\n" + c.script + "\n");
  if (c.error.empty()) {
    EXPECT_EQ(PobierzSerialCert(program, "c.crt"), c.serial);
  } else {
    EXPECT_EQ(ErrorOf([&] { PobierzSerialCert(program, "c.crt"); }), c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, FakeOpenssl,
    ::testing::Values(
        FakeCase{"cr_lf", "printf 'serial=0A1B2C3D\\r\\n'", "0A1B2C3D", ""},
        FakeCase{"capitals_and_lower_case_serial", "printf 'SERIAL=0a1b2c3d\\n'", "0a1b2c3d", ""},
        FakeCase{"serial_on_standard_error", "printf 'serial=AB\\n' >&2", "AB", ""},
        FakeCase{"warning_after_the_serial", "printf 'serial=AB\\n'; printf 'warning: z\\n' >&2", "AB", ""},
        FakeCase{"no_serial", "echo 'unable to load certificate'", "", ""},
        FakeCase{"exit_1_even_with_a_serial", "printf 'serial=AB\\r\\n'; exit 1", "", "OpenSSL exit code: 1"},
        FakeCase{"exit_255", "exit 255", "", "OpenSSL exit code: 255"},
        FakeCase{"killed_by_a_signal", "printf 'serial=AB\\n'; kill -KILL $$", "", "OpenSSL exit code: 137"},
        FakeCase{"runaway_output", "exec yes serial=AB", "", "Zbyt długie wyjście OpenSSL"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The process runner itself ------------------------------------------

TEST(ChildProcess, ReadsBothStreamsSideBySide) {
  // Each stream alone overfills a pipe: reading one to its end before the
  // other would leave the child and us waiting for each other.
  testing::ScratchDir dir;
  std::string program = WriteProgram(dir, "both", "#!/bin/sh\nhead -c 300000 /dev/zero | tr '\\0' e >&2\n"
                                                  "head -c 200000 /dev/zero | tr '\\0' o\nexit 3\n");
  platform::ProcessResult r = platform::RunProcess(program, {});
  EXPECT_EQ(r.out, std::string(200000, 'o'));
  EXPECT_EQ(r.err, std::string(300000, 'e'));
  EXPECT_EQ(r.exitCode, 3);
}

TEST(ChildProcess, StandardInputIsEmpty) {
  platform::ProcessResult r = platform::RunProcess("cat", {});
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.exitCode, 0);
}

TEST(ChildProcess, ChildThatWasNotFinishedIsKilledAndReaped) {
  pid_t pid;
  {
    platform::ChildProcess child("sleep", {"1000"});
    pid = child.Pid();
    ASSERT_GT(pid, 0);
  }
  // Reaped: the number is no longer ours (neither running nor a zombie).
  EXPECT_EQ(::kill(pid, 0), -1);
  EXPECT_EQ(errno, ESRCH);
}

TEST(ChildProcess, RefusesArgumentsWithNulBytes) {
  try {
    platform::RunProcess("echo", {std::string("a\0b", 3)});
    ADD_FAILURE() << "started";
  } catch (const platform::ProcessError& e) {
    EXPECT_EQ(e.GetStage(), platform::ProcessError::Stage::Start);
    EXPECT_EQ(e.Error(), EINVAL);
  }
}

}  // namespace
}  // namespace zuvprint
