// The host's low-level byte files: numbered handles and the last error code
// (FERROR) in DOS numbers. Every call sets the last error: 0 when it
// succeeded. Handles left open are closed when the runtime ends.
//
// The codes are the ones the host sees on Windows, where they are the
// system's own: 2 file not found, 3 path not found, 5 access denied, 6
// invalid handle, 25 seek error, 32 sharing violation, 33 lock violation;
// a write that finds no room is 29 (write fault) on every system, the
// code the error texts name ("Nieudany zapis"), not Windows' 112.
#pragma once

#include <map>
#include <string>

#include "runtime/native_file.h"

namespace zuvtill::runtime {

class ByteFiles {
 public:
  enum Mode { kRead = 0, kWrite = 1, kReadWrite = 2 };

  ByteFiles() = default;
  ~ByteFiles();
  ByteFiles(const ByteFiles&) = delete;
  ByteFiles& operator=(const ByteFiles&) = delete;

  // FOPEN: an existing file (the low two bits of mode; sharing bits are
  // ignored: others may read and write it meanwhile); FCREATE: a new or
  // emptied file. Both answer a small number (5 and up) or -1 on failure,
  // also for what is no regular file (a directory, FIFO or device: error
  // 5), and neither waits.
  int Open(const std::string& dosPath, int mode);
  int Create(const std::string& dosPath);
  // FSEEK: origin 0 start, 1 current, 2 end; answers the new position
  // (the old one, unchanged, on failure).
  long Seek(int handle, long offset, int origin);
  // FREAD: up to count bytes.
  std::string Read(int handle, long count);
  // FREADSTR: up to count bytes, ending early after a zero byte, which is
  // consumed but not returned.
  std::string ReadString(int handle, long count);
  // FWRITE: answers the number of bytes written.
  long Write(int handle, const std::string& bytes);
  // FCLOSE
  bool Close(int handle);
  // FERASE: 0 or -1.
  int Erase(const std::string& dosPath);
  // FILE: a file of that name exists (a directory is no file, as the
  // host's FILE() does not match directories).
  bool Exists(const std::string& dosPath);
  // Anything, file or directory, lies at that path.
  bool Occupied(const std::string& dosPath);

  int LastError() const { return lastError_; }
  void CloseAll();

 private:
  // The open file of the handle; null (error 6) for any other number.
  NativeFile* Known(int handle);
  // Registers the file under the lowest free number and answers it, or
  // sets the error of its failed open and answers -1.
  int Opened(int error, NativeFile file);
  std::map<int, NativeFile> open_;  // by handle
  int lastError_ = 0;
};

// A handle of the runtime's byte files, closed when this ends unless
// Close() was called, so no path of the caller leaks it.
class FileHandle {
 public:
  FileHandle(ByteFiles& files, int handle) : files_(files), handle_(handle) {}
  ~FileHandle() {
    if (handle_ >= 0) files_.Close(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool IsOpen() const { return handle_ >= 0; }
  int Get() const { return handle_; }
  // FCLOSE; false when the close failed (the runtime's last error says why).
  bool Close() {
    int handle = handle_;
    handle_ = -1;
    return handle >= 0 && files_.Close(handle);
  }

 private:
  ByteFiles& files_;
  int handle_;
};

}  // namespace zuvtill::runtime
