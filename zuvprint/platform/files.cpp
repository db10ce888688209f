#include "platform/files.h"

#include <cstdlib>

#include "platform/surface.h"

namespace zuvprint::platform {

NativeFile& NativeFile::operator=(NativeFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.Release();
  }
  return *this;
}

std::intptr_t NativeFile::Release() {
  std::intptr_t handle = handle_;
  handle_ = kInvalid;
  return handle;
}

CopyResult CopyToNewFile(const std::string& source, const std::string& target) {
  NativeFile in = OpenRegularFile(source);
  if (!in.IsOpen()) return CopyResult::Failed;
  NewName outcome;
  NativeFile out = CreateNewFile(target, outcome);
  if (!out.IsOpen()) return outcome.taken ? CopyResult::TargetExists : CopyResult::Failed;
  char chunk[65536];
  bool ok = true;
  for (;;) {
    std::int64_t n = in.Read(chunk, sizeof chunk);
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    if (!out.Write(chunk, static_cast<std::size_t>(n))) {
      ok = false;
      break;
    }
  }
  if (!out.Close()) ok = false;
  if (!ok) DeleteFile(target);
  return ok ? CopyResult::Copied : CopyResult::Failed;
}

ReadResult ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::uint64_t size = 0;
  NativeFile in = OpenRegularFile(path, &size);
  if (!in.IsOpen()) return ReadResult::CannotOpen;
  bytes.reserve(static_cast<std::size_t>(size));
  char chunk[65536];
  for (;;) {
    std::int64_t n = in.Read(chunk, sizeof chunk);
    if (n < 0) {
      bytes.clear();
      bytes.shrink_to_fit();
      return ReadResult::ReadFailed;
    }
    if (n == 0) return ReadResult::Ok;
    bytes.append(chunk, static_cast<std::size_t>(n));
  }
}

std::string BaseName(const std::string& path) {
  auto slash = path.find_last_of(kPathSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StemOf(const std::string& name) {
  auto dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string OutputDirectory() {
  const char* dir = std::getenv("ZUVPRINT_OUTPUT_DIR");
  return dir && *dir ? dir : ".";
}

namespace {

constexpr int kMaxOutputVariants = 10000;

std::string Variant(const std::string& dir, const std::string& stem, const std::string& ext, int n) {
  std::string path = dir;
  if (!path.empty() && kPathSeparators.find(path.back()) == std::string_view::npos) path += kPathSeparator;
  path += stem;
  if (n > 1) path += "-" + std::to_string(n);
  return path + ext;
}

[[noreturn]] void CannotCreate(const std::string& dir, const std::string& reason) {
  throw PrintError("Nie można utworzyć pliku wydruku w katalogu " + dir + ": " + reason);
}

}  // namespace

std::string PublishWithoutOverwrite(const std::string& temporary, const std::string& dir,
                                    const std::string& stem, const std::string& ext) {
  NewName outcome;
  for (int n = 1; n <= kMaxOutputVariants; ++n) {
    std::string path = Variant(dir, stem, ext, n);
    outcome = NewName{};
    MoveToNewName(temporary, path, outcome);
    if (outcome.error.empty()) return path;
    if (!outcome.taken) break;
  }
  CannotCreate(dir, outcome.error);
}

NativeFile CreateWithoutOverwrite(const std::string& dir, const std::string& stem, const std::string& ext,
                                  std::string& path) {
  NewName outcome;
  for (int n = 1; n <= kMaxOutputVariants; ++n) {
    path = Variant(dir, stem, ext, n);
    outcome = NewName{};
    NativeFile file = CreateNewFile(path, outcome);
    if (file.IsOpen()) return file;
    if (!outcome.taken) break;
  }
  CannotCreate(dir, outcome.error);
}

}  // namespace zuvprint::platform
