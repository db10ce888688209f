#include "operating_system.h"

#include <sys/stat.h>

#include <cerrno>

namespace zuvlink {

// The narrow _stat64 takes the name in the ANSI code page, as fopen does.
FileKind KindOfFile(const std::string& path) {
  struct _stat64 st;
  if (::_stat64(path.c_str(), &st) != 0) return errno == ENOENT ? FileKind::kMissing : FileKind::kRegular;
  return (st.st_mode & _S_IFMT) == _S_IFREG ? FileKind::kRegular : FileKind::kOther;
}

// The C runtime maps ERROR_DISK_FULL to ENOSPC; Windows has no quota
// error of its own in errno.
bool MeansDiskFull(int error) { return error == ENOSPC || error == EFBIG; }

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  ::localtime_s(&local, &time);
  return local;
}

}  // namespace zuvlink
