#include "byte_files.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "job_failure.h"
#include "operating_system.h"

namespace zuvlink {
namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, CloseFile>;

std::string Reason(int error) {
  if (MeansDiskFull(error)) return "brak miejsca na dysku";
  switch (error) {
    case ENOENT:
      return "plik nie istnieje";
    case EACCES:
    case EPERM:
      return "brak dostępu";
    case EISDIR:
      return "to jest katalog";
    case EROFS:
      return "dysk tylko do odczytu";
    default:
      return "błąd systemu nr " + std::to_string(error);
  }
}

[[noreturn]] void FailOn(const std::string& what, const std::string& path, const std::string& doing, int error) {
  Fail(what + " \"" + path + "\": " + doing + " (" + Reason(error) + ")");
}

void Write(const std::string& path, const std::string& bytes, const char* mode, const std::string& what) {
  errno = 0;
  File file(std::fopen(path.c_str(), mode));
  if (!file) FailOn(what, path, "nie można utworzyć", errno);
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  int error = errno;
  if (std::fclose(file.release()) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) FailOn(what, path, "błąd zapisu", error);
}

}  // namespace

std::string ReadWholeFile(const std::string& path, const std::string& what) {
  // A device or a pipe could be read without end, or block the job.
  if (KindOfFile(path) == FileKind::kOther) Fail(what + " \"" + path + "\": to nie jest zwykły plik");
  errno = 0;
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) FailOn(what, path, "nie można otworzyć", errno);
  std::string bytes;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    if (bytes.size() + n > kLargestInput) {
      Fail(what + " \"" + path + "\": za duży, ponad " + std::to_string(kLargestInput) + " bajtów");
    }
    bytes.append(buffer, n);
  }
  if (std::ferror(file.get())) FailOn(what, path, "błąd odczytu", errno);
  return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes, const std::string& what) {
  Write(path, bytes, "wb", what);
}

void AppendToFile(const std::string& path, const std::string& bytes, const std::string& what) {
  Write(path, bytes, "ab", what);
}

}  // namespace zuvlink
