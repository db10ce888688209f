// The process's current directory kept while it is changed for a while:
// the directory itself, held open, not its path, so that the way back does
// not depend on the path still naming it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zuvtill::runtime {

class KeptDirectory {
 public:
  // Keeps the current directory (none when it cannot be opened).
  KeptDirectory();
  ~KeptDirectory();
  KeptDirectory(const KeptDirectory&) = delete;
  KeptDirectory& operator=(const KeptDirectory&) = delete;

  // The process's current directory is the kept one: the same directory,
  // not merely one of the same path.
  bool IsCurrent() const;
  // Makes the kept directory current again, wherever it lies now; false
  // when there is none or it cannot be entered.
  bool MakeCurrent() const;

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle_ = kNone;  // a file descriptor or a HANDLE
};

// The process's current directory in the host's bytes, without a trailing
// separator (but for a root); "." when it cannot be told.
std::string CurrentDirectory();

// Makes the directory of the host's name current; answers 0, or the DOS
// error code of the failure (3 path not found ...).
int ChangeDirectory(std::string_view dosPath);

}  // namespace zuvtill::runtime
