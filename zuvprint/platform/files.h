// Files as the print run sees them: existence, deletion, an exclusive copy,
// reading, and output files that never replace an existing one. The
// operating system's part is one backend file each (posix/, windows/); the
// rest is written once over it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zuvprint::platform {

// The separator the platform writes between a directory and a name ('/' on
// Linux, '\\' on Windows), and every character it takes as one (Windows
// takes '/' as well).
extern const char kPathSeparator;
extern const std::string_view kPathSeparators;

// True when path names an existing file: a regular file, following
// symbolic links. Directories, pipes, devices and dangling links are not
// files, as a Windows file test sees it, and none of them could be read as
// one.
bool FileExists(const std::string& path);

// The system's reason, as text, for this thread's last file call that
// failed (a NativeFile's Write, say).
std::string LastFileError();

// Deletes a file; false when it was not there or could not be removed.
bool DeleteFile(const std::string& path);

// An open file of the operating system (a descriptor, a HANDLE), closed on
// destruction. Move-only.
class NativeFile {
 public:
  NativeFile() = default;
  explicit NativeFile(std::intptr_t handle) : handle_(handle) {}
  NativeFile(NativeFile&& other) noexcept : handle_(other.Release()) {}
  NativeFile& operator=(NativeFile&& other) noexcept;
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;
  ~NativeFile() { Close(); }

  bool IsOpen() const { return handle_ != kInvalid; }
  std::intptr_t Get() const { return handle_; }
  std::intptr_t Release();
  // Closes now; false when closing reported an error (a late write failure).
  bool Close();

  // Reads up to size bytes at the current position: the number read, 0 at
  // the end of the file, -1 on an error.
  std::int64_t Read(void* data, std::size_t size);
  // Reads up to size bytes at offset; the same answers as Read. Where Read
  // goes on afterwards differs between systems: a file is read one way.
  std::int64_t ReadAt(std::uint64_t offset, void* data, std::size_t size) const;
  // Writes all bytes, retrying short writes; false on any error.
  bool Write(const void* data, std::size_t size);

 private:
  static constexpr std::intptr_t kInvalid = -1;  // also INVALID_HANDLE_VALUE
  std::intptr_t handle_ = kInvalid;
};

// Opens a regular file for reading; a file that is not open for anything
// else. The open does not wait on a named pipe, and directories, pipes and
// devices are refused, since reading them could fail, block or never end:
// every file this program reads comes from somebody else. size, when
// given, gets the file's size. Not open on failure.
NativeFile OpenRegularFile(const std::string& path, std::uint64_t* size = nullptr);

// Copies source byte for byte into a file that is created by this call and
// must not exist yet (exclusive create), so two callers can never end up
// writing, or later deleting, the same target. A target that was created but could not
// be filled completely is removed again.
enum class CopyResult { Copied, TargetExists, Failed };
CopyResult CopyToNewFile(const std::string& source, const std::string& target);

// Reads a whole file into bytes. On failure bytes is left empty.
enum class ReadResult { Ok, CannotOpen, ReadFailed };
ReadResult ReadWholeFile(const std::string& path, std::string& bytes);

// The file name after the last separator (the whole path when there is none).
std::string BaseName(const std::string& path);

// The name without its last extension ("faktura.txt" -> "faktura").
std::string StemOf(const std::string& name);

// Directory where the built-in printers put their files: ZUVPRINT_OUTPUT_DIR
// when set and not empty, else the current directory.
std::string OutputDirectory();

// Publishes a finished temporary file under dir/stem + ext, or, when that
// name is taken, under dir/stem-2 + ext, dir/stem-3 + ext, ... An existing
// file is never replaced. Answers the path used; throws PrintError when
// no name can be claimed.
std::string PublishWithoutOverwrite(const std::string& temporary, const std::string& dir,
                                    const std::string& stem, const std::string& ext);

// Creates and opens dir/stem + ext (or the first free numbered variant, as
// above) exclusively for writing; sets path. Throws PrintError when no
// file can be created.
NativeFile CreateWithoutOverwrite(const std::string& dir, const std::string& stem, const std::string& ext,
                                  std::string& path);

// What the backends answer for a name that must be new: the file (or the
// name), or why not.
struct NewName {
  bool taken = false;  // the name exists already
  std::string error;   // empty on success, else the system's reason
};

// Creates path exclusively for writing (never an existing name).
NativeFile CreateNewFile(const std::string& path, NewName& outcome);

// Gives the file temporary the new name path, which must not exist yet; the
// temporary name is gone afterwards.
void MoveToNewName(const std::string& temporary, const std::string& path, NewName& outcome);

}  // namespace zuvprint::platform
