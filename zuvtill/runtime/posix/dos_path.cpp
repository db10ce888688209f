// Host names on POSIX: case-insensitive matching against the directories,
// errno values as DOS codes.
#include "runtime/dos_path.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <set>
#include <vector>

#include "runtime/text.h"

namespace zuvtill::runtime {
namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of directory whose name equals name but for case, or "".
std::string MatchIgnoringCase(const std::string& directory, const std::string& name) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.empty() ? "." : directory.c_str()), ::closedir);
  if (!dir) return "";
  std::string wanted = Upper(name);
  std::set<std::string> matches;
  while (const dirent* e = ::readdir(dir.get())) {
    if (Upper(e->d_name) == wanted) matches.insert(e->d_name);
  }
  return matches.empty() ? "" : *matches.begin();
}

}  // namespace

std::string HostPath(std::string_view dosPath) {
  std::vector<std::string> parts(1);
  for (char c : dosPath) {
    if (c == '\\' || c == '/') {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  std::string resolved;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) resolved.push_back('/');
    const std::string& part = parts[i];
    std::string candidate = resolved;
    candidate.append(part);
    if (!part.empty() && part != "." && part != ".." && !Exists(candidate)) {
      std::string match = MatchIgnoringCase(resolved, part);
      if (!match.empty()) {
        candidate = resolved;
        candidate.append(match);
      }
    }
    resolved = std::move(candidate);
  }
  return resolved;
}

std::filesystem::path NativePath(std::string_view hostPath) { return std::filesystem::path(hostPath); }

std::string HostName(const std::filesystem::path& name) { return name.string(); }

int DosError(int e) {
  switch (e) {
    case 0: return 0;
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EEXIST: return 5;
    case EBADF: return 6;
    case ENOMEM: return 8;
    case EROFS: return 19;
    case ENOSPC:
    case EFBIG:
    case EDQUOT: return 29;
    case EIO: return 30;
    case ETXTBSY:
    case EBUSY: return 32;
    case EAGAIN:
    case EDEADLK: return 33;
    default: return 31;  // general failure
  }
}

int DosErrorForPath(int e, const std::string& linuxPath) {
  if (e != ENOENT) return DosError(e);
  std::size_t slash = linuxPath.rfind('/');
  if (slash == std::string::npos || slash == 0) return 2;
  struct stat st;
  bool directoryThere = ::stat(linuxPath.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  return directoryThere ? 2 : 3;
}

}  // namespace zuvtill::runtime
