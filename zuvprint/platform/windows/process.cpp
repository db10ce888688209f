// Child processes on Windows: CreateProcessW with a command line quoted for
// the C runtime's parser, standard output and standard error through two
// overlapped named pipes read side by side by one thread, standard input
// from NUL, GetExitCodeProcess for the result.
#include "platform/process.h"

#include <windows.h>
// files.h names a function DeleteFile, which windows.h makes a macro.
#undef DeleteFile

#include <atomic>
#include <cerrno>
#include <cwctype>
#include <memory>

#include "platform/windows/handle.h"
#include "platform/windows/wide_text.h"

namespace zuvprint::platform {
namespace {

constexpr DWORD kPipeBuffer = 65536;
constexpr DWORD kChunk = 4096;

// The errno value nearest to a Windows error code, for callers written
// against errno.
int ErrnoOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
    case ERROR_BAD_FORMAT:
    case ERROR_EXE_MARKED_INVALID:
      return ENOEXEC;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
      return ENOMEM;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_FILENAME_EXCED_RANGE:
      return ENAMETOOLONG;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
      return EPIPE;
    case ERROR_INVALID_PARAMETER:
    case ERROR_INVALID_HANDLE:
      return EINVAL;
    default:
      return EIO;
  }
}

[[noreturn]] void Fail(ProcessError::Stage stage, DWORD code) { throw ProcessError(stage, ErrnoOf(code)); }

// One argument as the C runtime's parser (and CommandLineToArgvW) reads it
// back: quoted when it is empty or holds a blank, tab, line break or quote;
// inside quotes, a run of backslashes is doubled before a quote (which gets
// one more backslash) and before the closing quote, and left alone
// elsewhere.
void AppendQuoted(std::wstring& line, const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    line += argument;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      line.append(backslashes * 2 + 1, L'\\');
    } else {
      line.append(backslashes, L'\\');
    }
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

// The program's name is read by other rules (up to the next quote, no
// escapes), so it is always quoted, and a name with a quote cannot be
// passed at all.
std::wstring CommandLine(const std::wstring& program, const std::vector<std::string>& arguments) {
  std::wstring line = L"\"" + program + L"\"";
  for (const auto& a : arguments) {
    line += L' ';
    AppendQuoted(line, Wide(a));
  }
  return line;
}

// CreateProcessW hands .bat and .cmd files to cmd.exe, which parses the
// command line by rules of its own; such a program is refused. The file
// system ignores trailing dots and blanks of a name, so they are too.
bool IsBatchFile(const std::wstring& program) {
  std::size_t end = program.find_last_not_of(L". ");
  if (end == std::wstring::npos) return false;
  std::wstring name = program.substr(0, end + 1);
  if (name.size() < 4) return false;
  std::wstring extension = name.substr(name.size() - 4);
  for (auto& c : extension) c = static_cast<wchar_t>(std::towlower(c));
  return extension == L".bat" || extension == L".cmd";
}

// A pipe for one of the child's outputs: our end reads overlapped, the
// child's end is an ordinary inheritable handle. Anonymous pipes cannot be
// read overlapped, so this is a named pipe with a name no one else uses
// (FILE_FLAG_FIRST_PIPE_INSTANCE fails should it exist).
bool MakeOutputPipe(NativeFile& readEnd, NativeFile& childEnd) {
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::wstring name = L"\\\\.\\pipe\\zuvprint-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                              std::to_wstring(serial++) + L"-" + std::to_wstring(::GetTickCount64());
    HANDLE server = ::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                       PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                                       0, kPipeBuffer, 0, nullptr);
    if (server == INVALID_HANDLE_VALUE) {
      if (::GetLastError() == ERROR_ACCESS_DENIED || ::GetLastError() == ERROR_PIPE_BUSY) continue;  // name taken
      return false;
    }
    readEnd = Own(server);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE client = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (client == INVALID_HANDLE_VALUE) return false;
    childEnd = Own(client);
    return true;
  }
  ::SetLastError(ERROR_PIPE_BUSY);
  return false;
}

// The list of the handles the child may inherit, for
// PROC_THREAD_ATTRIBUTE_HANDLE_LIST: every other inheritable handle of this
// process (another thread's pipe, say) stays out of the child.
class AttributeList {
 public:
  explicit AttributeList(HANDLE* handles, std::size_t count) {
    SIZE_T size = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_ = std::make_unique<char[]>(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.get());
    if (!::InitializeProcThreadAttributeList(list_, 1, 0, &size)) {
      list_ = nullptr;
      return;
    }
    if (!::UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles, count * sizeof(HANDLE),
                                     nullptr, nullptr)) {
      DWORD error = ::GetLastError();
      ::DeleteProcThreadAttributeList(list_);
      list_ = nullptr;
      ::SetLastError(error);
    }
  }
  ~AttributeList() {
    if (list_) ::DeleteProcThreadAttributeList(list_);
  }
  AttributeList(const AttributeList&) = delete;
  AttributeList& operator=(const AttributeList&) = delete;
  LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return list_; }

 private:
  std::unique_ptr<char[]> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// One of the child's outputs being read: at most one overlapped read at a
// time into its own buffer. A read still pending when the reader goes away
// is cancelled and waited for, so the system never writes into freed
// memory.
class OutputReader {
 public:
  OutputReader(NativeFile& pipe, std::string& text) : pipe_(pipe), text_(text) {
    event_ = Own(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  }
  ~OutputReader() { Stop(); }
  OutputReader(const OutputReader&) = delete;
  OutputReader& operator=(const OutputReader&) = delete;

  bool Ready() const { return event_.IsOpen(); }
  bool Open() const { return pipe_.IsOpen(); }
  bool Pending() const { return pending_; }
  HANDLE Event() const { return Handle(event_); }

  // Starts the next read. False with the error code on a failure; a read
  // that completes at once, or the end of the output, is taken in here.
  bool Start(DWORD& error) {
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = Handle(event_);
    if (::ReadFile(Handle(pipe_), buffer_, sizeof buffer_, nullptr, &overlapped_)) return Complete(error);
    error = ::GetLastError();
    if (error == ERROR_IO_PENDING) {
      pending_ = true;
      return true;
    }
    return Ended(error);
  }

  // Takes in the result of the read started last (its event is set, or it
  // completed at once).
  bool Complete(DWORD& error) {
    pending_ = false;
    DWORD done = 0;
    if (::GetOverlappedResult(Handle(pipe_), &overlapped_, &done, FALSE)) {
      text_.append(buffer_, done);
      return true;
    }
    error = ::GetLastError();
    return Ended(error);
  }

  // A read failed: the end of the output when the child's end is closed,
  // else an error.
  bool Ended(DWORD error) {
    if (error == ERROR_BROKEN_PIPE || error == ERROR_PIPE_NOT_CONNECTED) {
      pipe_.Close();
      return true;
    }
    return false;
  }

  void Stop() {
    if (pending_ && pipe_.IsOpen()) {
      DWORD done = 0;
      ::CancelIoEx(Handle(pipe_), &overlapped_);
      ::GetOverlappedResult(Handle(pipe_), &overlapped_, &done, TRUE);
    }
    pending_ = false;
    pipe_.Close();
  }

 private:
  NativeFile& pipe_;
  std::string& text_;
  NativeFile event_;
  OVERLAPPED overlapped_{};
  bool pending_ = false;
  char buffer_[kChunk];
};

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  if (program.find('\0') != std::string::npos || program.find('"') != std::string::npos)
    throw ProcessError(ProcessError::Stage::Start, EINVAL);
  for (const auto& a : arguments)
    if (a.find('\0') != std::string::npos) throw ProcessError(ProcessError::Stage::Start, EINVAL);
  const std::wstring wideProgram = Wide(program);
  if (program.empty()) throw ProcessError(ProcessError::Stage::Start, ENOENT);
  if (IsBatchFile(wideProgram)) throw ProcessError(ProcessError::Stage::Start, ENOEXEC);
  std::wstring commandLine = CommandLine(wideProgram, arguments);

  NativeFile outWrite, errWrite;
  if (!MakeOutputPipe(out_, outWrite) || !MakeOutputPipe(err_, errWrite))
    Fail(ProcessError::Stage::Pipe, ::GetLastError());
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  NativeFile input = Own(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!input.IsOpen()) Fail(ProcessError::Stage::Pipe, ::GetLastError());

  HANDLE inherited[] = {Handle(input), Handle(outWrite), Handle(errWrite)};
  AttributeList attributes(inherited, 3);
  if (!attributes.Get()) Fail(ProcessError::Stage::Start, ::GetLastError());

  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup;
  startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.StartupInfo.wShowWindow = SW_HIDE;
  startup.StartupInfo.hStdInput = Handle(input);
  startup.StartupInfo.hStdOutput = Handle(outWrite);
  startup.StartupInfo.hStdError = Handle(errWrite);
  startup.lpAttributeList = attributes.Get();

  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr, &startup.StartupInfo,
                        &info))
    Fail(ProcessError::Stage::Start, ::GetLastError());
  if (info.hThread) ::CloseHandle(info.hThread);
  // Wine hands a program of its host system (an ELF file) to that system and
  // answers success with no process handle: such a child can neither be
  // waited for nor read, so it counts as a program that cannot be run here.
  if (!info.hProcess) throw ProcessError(ProcessError::Stage::Start, ENOEXEC);
  process_ = Own(info.hProcess);
  pid_ = static_cast<int>(info.dwProcessId);
  // Our copies of the child's ends close here (input, outWrite, errWrite),
  // so the pipes report their end once the child has closed its own.
}

void ChildProcess::KillAndReap() {
  out_.Close();
  err_.Close();
  if (!process_.IsOpen()) return;
  ::TerminateProcess(Handle(process_), 1);
  ::WaitForSingleObject(Handle(process_), INFINITE);
  process_.Close();
  pid_ = -1;
}

ProcessResult ChildProcess::Finish(std::size_t outputLimit) {
  if (!process_.IsOpen()) throw ProcessError(ProcessError::Stage::Wait, ECHILD);
  ProcessResult result;
  {
    OutputReader readers[2] = {{out_, result.out}, {err_, result.err}};
    if (!readers[0].Ready() || !readers[1].Ready()) {
      DWORD error = ::GetLastError();
      KillAndReap();
      Fail(ProcessError::Stage::Read, error);
    }
    auto readFailed = [&](DWORD error) {
      for (auto& r : readers) r.Stop();
      KillAndReap();
      Fail(ProcessError::Stage::Read, error);
    };
    for (;;) {
      // Start a read on every output that has none going; count what is
      // still to be waited for.
      HANDLE events[2];
      OutputReader* waiting[2];
      DWORD count = 0;
      bool tookSomething = false;
      for (auto& r : readers) {
        if (!r.Open()) continue;
        if (!r.Pending()) {
          std::size_t before = result.out.size() + result.err.size();
          DWORD error = 0;
          if (!r.Start(error)) readFailed(error);
          tookSomething |= result.out.size() + result.err.size() != before || !r.Open();
        }
        if (r.Pending()) {
          events[count] = r.Event();
          waiting[count++] = &r;
        }
      }
      if (result.out.size() + result.err.size() > outputLimit) {
        for (auto& r : readers) r.Stop();
        KillAndReap();
        throw ProcessError(ProcessError::Stage::OutputLimit, 0);
      }
      if (count == 0) {
        if (!readers[0].Open() && !readers[1].Open()) break;
        continue;
      }
      // Something came in at once: look at the waiting reads without
      // blocking, and start the next read. Otherwise wait for either.
      DWORD signalled = ::WaitForMultipleObjects(count, events, FALSE, tookSomething ? 0 : INFINITE);
      if (signalled == WAIT_TIMEOUT) continue;
      if (signalled >= WAIT_OBJECT_0 + count) readFailed(::GetLastError());
      DWORD error = 0;
      if (!waiting[signalled - WAIT_OBJECT_0]->Complete(error)) readFailed(error);
      if (result.out.size() + result.err.size() > outputLimit) {
        for (auto& r : readers) r.Stop();
        KillAndReap();
        throw ProcessError(ProcessError::Stage::OutputLimit, 0);
      }
    }
  }

  if (::WaitForSingleObject(Handle(process_), INFINITE) != WAIT_OBJECT_0) {
    DWORD error = ::GetLastError();
    KillAndReap();
    Fail(ProcessError::Stage::Wait, error);
  }
  DWORD code = 0;
  if (!::GetExitCodeProcess(Handle(process_), &code)) {
    DWORD error = ::GetLastError();
    KillAndReap();
    Fail(ProcessError::Stage::Wait, error);
  }
  process_.Close();
  pid_ = -1;
  result.exitCode = static_cast<int>(code);
  return result;
}

}  // namespace zuvprint::platform
