#include "runtime/byte_files.h"

#include "runtime/dos_path.h"

namespace zuvtill::runtime {
namespace {

// DOS hands out 0 to 4 to the standard devices; files get the numbers after.
constexpr int kFirstHandle = 5;
constexpr int kSeekError = 25;

constexpr NativeFile::Access kAccess[] = {NativeFile::Access::kRead, NativeFile::Access::kWrite,
                                          NativeFile::Access::kReadWrite, NativeFile::Access::kReadWrite};

}  // namespace

ByteFiles::~ByteFiles() { CloseAll(); }

void ByteFiles::CloseAll() { open_.clear(); }

NativeFile* ByteFiles::Known(int handle) {
  auto it = open_.find(handle);
  if (it != open_.end()) return &it->second;
  lastError_ = 6;  // invalid handle
  return nullptr;
}

int ByteFiles::Open(const std::string& dosPath, int mode) {
  NativeFile file;
  const int error = file.Open(HostPath(dosPath), kAccess[mode & 3], false);
  return Opened(error, std::move(file));
}

int ByteFiles::Create(const std::string& dosPath) {
  NativeFile file;
  const int error = file.Open(HostPath(dosPath), NativeFile::Access::kReadWrite, true);
  return Opened(error, std::move(file));
}

int ByteFiles::Opened(int error, NativeFile file) {
  lastError_ = error;
  if (error != 0) return -1;
  int handle = kFirstHandle;
  for (const auto& entry : open_) {
    if (entry.first != handle) break;
    ++handle;
  }
  open_.emplace(handle, std::move(file));
  return handle;
}

long ByteFiles::Seek(int handle, long offset, int origin) {
  NativeFile* file = Known(handle);
  if (!file) return 0;
  std::int64_t at = 0;
  if (file->Seek(offset, origin, at) != 0) {
    lastError_ = kSeekError;
    file->Seek(0, 1, at);
    return static_cast<long>(at);
  }
  lastError_ = 0;
  return static_cast<long>(at);
}

std::string ByteFiles::Read(int handle, long count) {
  std::string bytes;
  NativeFile* file = Known(handle);
  if (!file || count <= 0) return bytes;
  bytes.resize(static_cast<std::size_t>(count));
  std::size_t got = 0;
  lastError_ = file->Read(bytes.data(), bytes.size(), got);
  bytes.resize(got);
  return bytes;
}

std::string ByteFiles::ReadString(int handle, long count) {
  std::string bytes = Read(handle, count);
  std::size_t zero = bytes.find('\0');
  if (zero != std::string::npos) {
    // Put the file back just after the zero byte.
    std::int64_t at = 0;
    open_.at(handle).Seek(static_cast<std::int64_t>(zero + 1) - static_cast<std::int64_t>(bytes.size()), 1, at);
    bytes.resize(zero);
  }
  return bytes;
}

long ByteFiles::Write(int handle, const std::string& bytes) {
  NativeFile* file = Known(handle);
  if (!file) return 0;
  std::size_t put = 0;
  lastError_ = file->Write(bytes.data(), bytes.size(), put);
  return static_cast<long>(put);
}

bool ByteFiles::Close(int handle) {
  NativeFile* file = Known(handle);
  if (!file) return false;
  NativeFile closing = std::move(*file);
  open_.erase(handle);
  lastError_ = closing.Close();
  return lastError_ == 0;
}

int ByteFiles::Erase(const std::string& dosPath) {
  lastError_ = EraseFile(HostPath(dosPath));
  return lastError_ == 0 ? 0 : -1;
}

bool ByteFiles::Exists(const std::string& dosPath) { return FileExists(HostPath(dosPath)); }

bool ByteFiles::Occupied(const std::string& dosPath) { return PathOccupied(HostPath(dosPath)); }

}  // namespace zuvtill::runtime
