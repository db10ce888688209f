// Runs the real zuvprint program in a scratch directory and reads back what
// it left: exit status, standard error, the draw log of the TRACE printer.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zuvprint::testing {

// A fresh directory under the system's temporary directory, removed at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  // Writes bytes to a file in the directory.
  void Write(const std::string& name, const std::string& bytes) const;
  bool Has(const std::string& name) const { return std::filesystem::exists(path_ / name); }
  std::vector<std::string> Names() const;

 private:
  std::filesystem::path path_;
};

struct ProgramResult {
  int status = -1;
  std::string err;  // standard error
};

// Runs the program (ZUVPRINT_BIN unless program is given, or the program
// that the environment variable ZUVPRINT_TEST_PROGRAM names, started through
// ZUVPRINT_TEST_LAUNCHER when that is set) with arguments in directory cwd. The environment is the test's own with PRINTER=TRACE,
// ZUVPRINT_OUTPUT_DIR=cwd and CUPS_SERVER pointing nowhere, plus env.
ProgramResult RunZuvprint(const std::filesystem::path& cwd, const std::vector<std::string>& arguments,
                          const std::map<std::string, std::string>& env = {}, const std::string& program = "");

// The same in two steps, so that several runs can go on at once. With
// fileSizeLimit > 0 the program may write no file larger than that many
// bytes (a write beyond fails with EFBIG, as on a full device).
struct StartedProgram {
  int pid = -1;
  std::string errPath;  // where its standard error goes
};
StartedProgram StartZuvprint(const std::filesystem::path& cwd, const std::vector<std::string>& arguments,
                             const std::map<std::string, std::string>& env = {}, long fileSizeLimit = 0);
ProgramResult WaitZuvprint(const StartedProgram& started);

// A style file's text as the program under test reads it: UTF-8 for the
// Linux program; the ANSI code page 1250 of a Polish Windows for
// zuvprint.exe, which runs under Wine with a Polish locale.
std::string StyleFileText(const std::string& utf8);

// The draw log as a list of objects.
std::vector<nlohmann::json> ReadDrawLog(const std::filesystem::path& path);

// The drawn characters of a log, one string per baseline, in order.
struct DrawnLine {
  int y;
  std::string text;   // UTF-8
  std::vector<int> x;  // cell of each character
};
std::vector<DrawnLine> TextLines(const std::vector<nlohmann::json>& log);

// One page of a PDF as pdftoppm renders it: in colour, as a viewer shows
// it, or in 8-bit grey without antialiasing, where a thin line is a whole
// pixel of ink, never a shade.
enum class Rendering { Colour, GreyWithoutAntialiasing };
struct RenderedPage {
  int width = 0, height = 0, channels = 0;
  std::vector<unsigned char> bytes;
  int Grey(int x, int y) const { return bytes[static_cast<std::size_t>(y) * width + x]; }
  std::array<int, 3> Rgb(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return {bytes[i], bytes[i + 1], bytes[i + 2]};
  }
};
RenderedPage RenderPage(const std::filesystem::path& pdf, int page, int dpi, Rendering how);

// What a shell command writes on standard output.
std::string CommandOutput(const std::string& command);

// How many entries have this op, and the entries themselves.
int CountOps(const std::vector<nlohmann::json>& log, const std::string& op);
std::vector<nlohmann::json> Ops(const std::vector<nlohmann::json>& log, const std::string& op);

}  // namespace zuvprint::testing
