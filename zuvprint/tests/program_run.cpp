#include "program_run.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace zuvprint::testing {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  std::string pattern = (fs::temp_directory_path() / "zuvprint-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void ScratchDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out << bytes;
}

std::vector<std::string> ScratchDir::Names() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

StartedProgram Start(const fs::path& cwd, const std::vector<std::string>& arguments,
                     const std::map<std::string, std::string>& env, const std::string& program, long fileSizeLimit) {
  // ZUVPRINT_TEST_PROGRAM runs the same tests against another build of the
  // program (zuvprint.exe), started through ZUVPRINT_TEST_LAUNCHER (Wine).
  const char* other = std::getenv("ZUVPRINT_TEST_PROGRAM");
  const char* launcher = std::getenv("ZUVPRINT_TEST_LAUNCHER");
  std::string binary = !program.empty() ? program : other && *other ? other : ZUVPRINT_BIN;
  std::map<std::string, std::string> variables;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    auto eq = entry.find('=');
    if (eq != std::string::npos) variables[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  variables.erase("LPDEST");
  variables["PRINTER"] = "TRACE";
  variables["ZUVPRINT_OUTPUT_DIR"] = cwd.string();
  variables["CUPS_SERVER"] = (cwd / "no-cups.sock").string();
  if (launcher && *launcher) {
    variables["ZUVPRINT_MESSAGES"] = "stderr";  // nobody closes a box in a test
    variables["LC_ALL"] = "pl_PL.UTF-8";         // Wine's code pages 1250 and 852, as on the users' machines
  }
  for (const auto& [k, v] : env) variables[k] = v;

  std::vector<std::string> envStrings;
  for (const auto& [k, v] : variables) envStrings.push_back(k + "=" + v);
  std::vector<char*> envp, argv;
  for (auto& s : envStrings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::vector<std::string> args{binary};
  if (launcher && *launcher) args.insert(args.begin(), launcher);
  args.insert(args.end(), arguments.begin(), arguments.end());
  for (auto& s : args) argv.push_back(s.data());
  argv.push_back(nullptr);

  StartedProgram started;
  char errPath[] = "/tmp/zuvprint-stderr-XXXXXX";
  int errFd = ::mkstemp(errPath);
  started.errPath = errPath;
  started.pid = ::fork();
  if (started.pid == 0) {
    if (::chdir(cwd.c_str()) != 0) ::_exit(127);
    ::dup2(errFd, 2);
    if (fileSizeLimit > 0) {
      // A write beyond the limit then fails with EFBIG instead of killing.
      ::signal(SIGXFSZ, SIG_IGN);
      struct rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execve(args[0].c_str(), argv.data(), envp.data());
    ::_exit(127);
  }
  ::close(errFd);
  return started;
}

}  // namespace

ProgramResult RunZuvprint(const fs::path& cwd, const std::vector<std::string>& arguments,
                          const std::map<std::string, std::string>& env, const std::string& program) {
  return WaitZuvprint(Start(cwd, arguments, env, program, 0));
}

StartedProgram StartZuvprint(const fs::path& cwd, const std::vector<std::string>& arguments,
                             const std::map<std::string, std::string>& env, long fileSizeLimit) {
  return Start(cwd, arguments, env, "", fileSizeLimit);
}

ProgramResult WaitZuvprint(const StartedProgram& started) {
  int status = 0;
  ::waitpid(started.pid, &status, 0);
  ProgramResult result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::ifstream err(started.errPath, std::ios::binary);
  std::stringstream text;
  text << err.rdbuf();
  result.err = text.str();
  ::unlink(started.errPath.c_str());
  return result;
}

std::string StyleFileText(const std::string& utf8) {
  const char* launcher = std::getenv("ZUVPRINT_TEST_LAUNCHER");
  if (!launcher || !*launcher) return utf8;
  iconv_t convert = ::iconv_open("CP1250", "UTF-8");
  if (convert == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no conversion to CP1250");
  std::string in = utf8, out(utf8.size(), '\0');
  char* from = in.data();
  char* to = out.data();
  std::size_t fromLeft = in.size(), toLeft = out.size();
  const std::size_t done = ::iconv(convert, &from, &fromLeft, &to, &toLeft);
  ::iconv_close(convert);
  if (done == static_cast<std::size_t>(-1)) throw std::runtime_error("not in CP1250: " + utf8);
  out.resize(out.size() - toLeft);
  return out;
}

std::vector<nlohmann::json> ReadDrawLog(const fs::path& path) {
  std::vector<nlohmann::json> log;
  std::ifstream in(path);
  if (!in) throw std::runtime_error("no draw log at " + path.string());
  std::string line;
  while (std::getline(in, line)) log.push_back(nlohmann::json::parse(line));
  return log;
}

std::vector<DrawnLine> TextLines(const std::vector<nlohmann::json>& log) {
  std::vector<DrawnLine> lines;
  bool newPage = true;
  for (const auto& entry : log) {
    if (entry["op"] == "startpage") newPage = true;
    if (entry["op"] != "text") continue;
    int y = entry["y"];
    if (newPage || lines.back().y != y) lines.push_back({y, "", {}});
    newPage = false;
    lines.back().text += entry["ch"].get<std::string>();
    lines.back().x.push_back(entry["x"]);
  }
  return lines;
}

std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
    ::pclose(p);
  }
  return out;
}

int CountOps(const std::vector<nlohmann::json>& log, const std::string& op) {
  int n = 0;
  for (const auto& entry : log) n += entry["op"] == op;
  return n;
}

std::vector<nlohmann::json> Ops(const std::vector<nlohmann::json>& log, const std::string& op) {
  std::vector<nlohmann::json> found;
  for (const auto& entry : log)
    if (entry["op"] == op) found.push_back(entry);
  return found;
}

RenderedPage RenderPage(const fs::path& pdf, int page, int dpi, Rendering how) {
  const bool grey = how == Rendering::GreyWithoutAntialiasing;
  const fs::path stem = pdf.parent_path() / ("page-" + std::to_string(page));
  const std::string command = std::string("pdftoppm ") + (grey ? "-gray -aa no -aaVector no " : "") + "-singlefile -r " +
                              std::to_string(dpi) + " -f " + std::to_string(page) + " -l " + std::to_string(page) +
                              " " + pdf.string() + " " + stem.string();
  if (std::system(command.c_str()) != 0) throw std::runtime_error("pdftoppm failed: " + command);
  const std::string file = stem.string() + (grey ? ".pgm" : ".ppm");
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int maxval = 0;
  RenderedPage p;
  in >> magic >> p.width >> p.height >> maxval;
  in.get();
  p.channels = grey ? 1 : 3;
  if (magic != (grey ? "P5" : "P6") || maxval != 255 || p.width <= 0 || p.height <= 0)
    throw std::runtime_error("not a rendered page: " + file);
  p.bytes.resize(static_cast<std::size_t>(p.width) * p.height * p.channels);
  in.read(reinterpret_cast<char*>(p.bytes.data()), static_cast<std::streamsize>(p.bytes.size()));
  if (!in) throw std::runtime_error("short page: " + file);
  return p;
}

}  // namespace zuvprint::testing
