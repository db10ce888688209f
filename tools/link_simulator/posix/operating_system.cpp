#include "operating_system.h"

#include <sys/stat.h>

#include <cerrno>

namespace zuvlink {

FileKind KindOfFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? FileKind::kMissing : FileKind::kRegular;
  return S_ISREG(st.st_mode) ? FileKind::kRegular : FileKind::kOther;
}

bool MeansDiskFull(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  ::localtime_r(&time, &local);
  return local;
}

}  // namespace zuvlink
