// Files as the print run sees them: existence, deletion, an exclusive copy,
// and output files that never replace an existing one.
#pragma once

#include <cstdint>
#include <string>

namespace zuvprint::platform {

// True when path names an existing file: a regular file, following
// symbolic links. Directories, pipes, devices and dangling links are not
// files, as a Windows file test sees it, and none of them could be read as
// one.
bool FileExists(const std::string& path);

// Deletes a file; false when it was not there or could not be removed.
bool DeleteFile(const std::string& path);

// Copies source byte for byte into a file that is created by this call and
// must not exist yet (exclusive create), so two callers can never end up
// writing, or later deleting, the same target. A target that was created but could not
// be filled completely is removed again.
enum class CopyResult { Copied, TargetExists, Failed };
CopyResult CopyToNewFile(const std::string& source, const std::string& target);

// Reads a whole file into bytes. On failure bytes is left empty.
enum class ReadResult { Ok, CannotOpen, ReadFailed };
ReadResult ReadWholeFile(const std::string& path, std::string& bytes);

// The file name after the last '/' (the whole path when there is none).
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
// above) exclusively for writing; returns the descriptor and sets path.
// Throws PrintError when no file can be created.
int CreateWithoutOverwrite(const std::string& dir, const std::string& stem, const std::string& ext,
                           std::string& path);

// A file descriptor closed on destruction.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Release();
  // Closes now; false when close reported an error (a late write failure).
  bool Close();

 private:
  int fd_ = -1;
};

// Opens a regular file for reading; a file that is not open for anything
// else. The open does not wait on a named pipe, and directories, pipes and
// devices are refused, since reading them could fail, block or never end:
// every file this program reads comes from somebody else. size, when
// given, gets the file's size.
FileDescriptor OpenRegularFile(const std::string& path, std::uint64_t* size = nullptr);

// Writes all bytes, retrying short writes; false on any error.
bool WriteAll(int fd, const void* data, std::size_t size);

}  // namespace zuvprint::platform
