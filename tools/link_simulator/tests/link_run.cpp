#include "link_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "runtime/code_page.h"

namespace zuvlink::testing {

namespace fs = std::filesystem;

LinkWorkDirectory::LinkWorkDirectory(const std::string& work) {
  std::string pattern = (fs::temp_directory_path() / "zuvlink-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  host_ = pattern;
  work_ = host_ / work;
  fs::create_directories(work_);
}

LinkWorkDirectory::~LinkWorkDirectory() {
  std::error_code ignored;
  fs::remove_all(host_, ignored);
}

void LinkWorkDirectory::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream(work_ / name, std::ios::binary) << bytes;
}

std::string LinkWorkDirectory::Read(const std::string& name) const {
  std::ifstream in(work_ / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool LinkWorkDirectory::Has(const std::string& name) const { return fs::exists(work_ / name); }

void LinkWorkDirectory::Settings(const std::vector<std::string>& lines) const {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  Write("SYMULATOR.INI", text);
}

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The program under test in the work directory under its link program's
// name, once per directory.
void Install(const fs::path& target) {
  if (fs::exists(fs::symlink_status(target))) return;
  std::string other = Environment("ZUVLINK_TEST_PROGRAM");
  if (other.empty()) {
    fs::create_symlink(ZUVLINK_BIN, target);
  } else {
    fs::copy_file(other, target);
  }
}

}  // namespace

LinkResult LinkWorkDirectory::Run(const std::string& program, const std::vector<std::string>& arguments) const {
  return RunAs(program, "./" + program, arguments);
}

LinkResult LinkWorkDirectory::RunAs(const std::string& program, const std::string& argv0,
                                    const std::vector<std::string>& arguments) const {
  Install(work_ / program);
  fs::path errPath = host_ / "stderr.txt";
  std::string launcher = Environment("ZUVLINK_TEST_LAUNCHER");
  std::string file = launcher.empty() ? "./" + program : launcher;
  std::vector<std::string> words = {argv0};
  if (!launcher.empty()) words.insert(words.begin(), launcher);
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err < 0 || ::dup2(err, 2) < 0 || ::chdir(work_.c_str()) != 0) ::_exit(126);
    ::execv(file.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  LinkResult result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::ifstream in(errPath, std::ios::binary);
  result.err.assign(std::istreambuf_iterator<char>(in), {});
  return result;
}

std::string LinkWorkDirectory::FirstLine(const std::string& name) const {
  std::string bytes = Read(name);
  return Utf8(bytes.substr(0, bytes.find("\r\n")));
}

std::vector<std::string> LinkWorkDirectory::Roll() const {
  std::vector<std::string> rows;
  std::ifstream in(work_ / "ROLKA.TXT", std::ios::binary);
  for (std::string row; std::getline(in, row);) rows.push_back(row);
  return rows;
}

std::string Cp852(const std::string& utf8) { return zuvtill::runtime::Utf8ToCp852(utf8); }
std::string Utf8(const std::string& cp852) { return zuvtill::runtime::Cp852ToUtf8(cp852); }

std::string Lines(const std::vector<std::string>& lines, bool lastCrLf) {
  std::string file;
  for (std::size_t i = 0; i < lines.size(); ++i) file += lines[i] + (i + 1 < lines.size() || lastCrLf ? "\r\n" : "");
  return file;
}

std::string Quoted(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? ",\"" : "\"") + fields[i] + "\"";
  return line;
}

}  // namespace zuvlink::testing
