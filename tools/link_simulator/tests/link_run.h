// The simulator as the library meets it: a host directory with a work
// directory below it, the real zuvlink linked into the work directory
// under a program name, and runs of it there as a process.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zuvlink::testing {

struct LinkResult {
  int status = -1;
  std::string err;  // standard error
};

class LinkWorkDirectory {
 public:
  // work: the work directory below the host's, "FISK" or "FISK/MERA30".
  explicit LinkWorkDirectory(const std::string& work = "FISK");
  ~LinkWorkDirectory();
  LinkWorkDirectory(const LinkWorkDirectory&) = delete;
  LinkWorkDirectory& operator=(const LinkWorkDirectory&) = delete;

  const std::filesystem::path& Host() const { return host_; }
  const std::filesystem::path& Work() const { return work_; }

  // Files of the work directory.
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;
  bool Has(const std::string& name) const;

  // SYMULATOR.INI with these lines.
  void Settings(const std::vector<std::string>& lines) const;

  // Puts zuvlink into the work directory as program and runs it there
  // with the arguments, argv[0] being "./" + program as the shell gives it.
  // By default zuvlink is linked there; ZUVLINK_TEST_PROGRAM names another
  // build of it (zuvlink.exe), which is copied there as a link program is
  // on Windows and started through ZUVLINK_TEST_LAUNCHER (Wine) if given.
  LinkResult Run(const std::string& program, const std::vector<std::string>& arguments) const;
  // The same with argv[0] as given: under a launcher it is the command the
  // launcher starts, so it must name program in the work directory.
  LinkResult RunAs(const std::string& program, const std::string& argv0,
                   const std::vector<std::string>& arguments) const;

  // The first line of a file of the work directory (without CR LF), in UTF-8.
  std::string FirstLine(const std::string& name) const;
  // The rows of the paper roll.
  std::vector<std::string> Roll() const;

 private:
  std::filesystem::path host_, work_;
};

// Code page 852 for the receipt and deposit files, UTF-8 for comparing.
std::string Cp852(const std::string& utf8);
std::string Utf8(const std::string& cp852);

// A file of lines each ended by CR LF, the last one only when lastCrLf.
std::string Lines(const std::vector<std::string>& lines, bool lastCrLf);

// One quoted line: "a","b","c".
std::string Quoted(const std::vector<std::string>& fields);

}  // namespace zuvlink::testing
