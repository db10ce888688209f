#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

// ChildProcess keeps the child's pid as an int.
static_assert(sizeof(pid_t) <= sizeof(int));

namespace zuvprint::platform {
namespace {

// Moves a descriptor to 3 or above (keeping close-on-exec), so that placing
// it on the child's 1 or 2 is always a real dup2 that clears close-on-exec.
int AboveStandard(int fd) {
  if (fd > STDERR_FILENO) return fd;
  int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  int saved = errno;
  ::close(fd);
  errno = saved;
  return moved;
}

// A pipe whose both ends are closed on exec and lie above the standard
// descriptors.
bool MakePipe(NativeFile& readEnd, NativeFile& writeEnd) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  readEnd = NativeFile(AboveStandard(fds[0]));
  writeEnd = NativeFile(AboveStandard(fds[1]));
  return readEnd.IsOpen() && writeEnd.IsOpen();
}

bool HasNul(const std::string& s) { return s.find('\0') != std::string::npos; }

class SpawnActions {
 public:
  SpawnActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
  ~SpawnActions() {
    if (ok_) ::posix_spawn_file_actions_destroy(&actions_);
  }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  bool ok() const { return ok_; }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
  bool ok_;
};

class SpawnAttributes {
 public:
  SpawnAttributes() { ok_ = ::posix_spawnattr_init(&attributes_) == 0; }
  ~SpawnAttributes() {
    if (ok_) ::posix_spawnattr_destroy(&attributes_);
  }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  bool ok() const { return ok_; }
  posix_spawnattr_t* get() { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
  bool ok_;
};

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
  if (HasNul(program)) throw ProcessError(ProcessError::Stage::Start, EINVAL);
  for (const auto& a : arguments)
    if (HasNul(a)) throw ProcessError(ProcessError::Stage::Start, EINVAL);

  NativeFile outWrite, errWrite;
  if (!MakePipe(out_, outWrite) || !MakePipe(err_, errWrite))
    throw ProcessError(ProcessError::Stage::Pipe, errno);

  // The child's side: /dev/null as input, the write ends as output and error.
  // Every other descriptor of ours is close-on-exec.
  SpawnActions actions;
  if (!actions.ok() ||
      ::posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0) != 0 ||
      ::posix_spawn_file_actions_adddup2(actions.get(), static_cast<int>(outWrite.Get()), STDOUT_FILENO) != 0 ||
      ::posix_spawn_file_actions_adddup2(actions.get(), static_cast<int>(errWrite.Get()), STDERR_FILENO) != 0 ||
      // Whatever else this process holds open (descriptors inherited from
      // the host, or opened by a library) is none of the child's business.
      ::posix_spawn_file_actions_addclosefrom_np(actions.get(), STDERR_FILENO + 1) != 0)
    throw ProcessError(ProcessError::Stage::Start, ENOMEM);

  // The child starts with no blocked signals and default signal actions,
  // whatever the caller has set up for itself.
  SpawnAttributes attributes;
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  if (!attributes.ok() || ::posix_spawnattr_setsigmask(attributes.get(), &none) != 0 ||
      ::posix_spawnattr_setsigdefault(attributes.get(), &all) != 0 ||
      ::posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) != 0)
    throw ProcessError(ProcessError::Stage::Start, ENOMEM);

  std::vector<std::string> argvStrings;
  argvStrings.reserve(arguments.size() + 1);
  argvStrings.push_back(program);
  argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  argv.reserve(argvStrings.size() + 1);
  for (auto& s : argvStrings) argv.push_back(s.data());
  argv.push_back(nullptr);

  // posix_spawnp reports a failed exec (missing file, no permission, bad
  // format) as its result and never falls back to running the file with a
  // shell.
  pid_t pid = -1;
  int rc = ::posix_spawnp(&pid, program.c_str(), actions.get(), attributes.get(), argv.data(), environ);
  if (rc != 0) throw ProcessError(ProcessError::Stage::Start, rc);
  pid_ = pid;
  // Our copies of the write ends close here (outWrite, errWrite), so the
  // pipes report end of file once the child has closed its own.
}

void ChildProcess::KillAndReap() {
  out_.Close();
  err_.Close();
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  int status;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
}

ProcessResult ChildProcess::Finish(std::size_t outputLimit) {
  // Finished already: waitpid(-1) would reap some other child of ours.
  if (pid_ <= 0) throw ProcessError(ProcessError::Stage::Wait, ECHILD);
  ProcessResult result;
  struct Stream {
    NativeFile* fd;
    std::string* text;
  };
  Stream streams[2] = {{&out_, &result.out}, {&err_, &result.err}};
  char chunk[4096];

  for (;;) {
    pollfd fds[2];
    nfds_t count = 0;
    Stream* polled[2];
    for (Stream& s : streams) {
      if (!s.fd->IsOpen()) continue;
      fds[count] = pollfd{static_cast<int>(s.fd->Get()), POLLIN, 0};
      polled[count++] = &s;
    }
    if (count == 0) break;
    if (::poll(fds, count, -1) < 0) {
      if (errno == EINTR) continue;
      int error = errno;
      KillAndReap();
      throw ProcessError(ProcessError::Stage::Read, error);
    }
    for (nfds_t k = 0; k < count; ++k) {
      if (fds[k].revents == 0) continue;
      ssize_t n = ::read(fds[k].fd, chunk, sizeof chunk);
      if (n > 0) {
        polled[k]->text->append(chunk, static_cast<std::size_t>(n));
        if (result.out.size() + result.err.size() > outputLimit) {
          KillAndReap();
          throw ProcessError(ProcessError::Stage::OutputLimit, 0);
        }
      } else if (n == 0) {
        polled[k]->fd->Close();
      } else if (errno != EINTR && errno != EAGAIN) {
        int error = errno;
        KillAndReap();
        throw ProcessError(ProcessError::Stage::Read, error);
      }
    }
  }

  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0) {
    if (errno == EINTR) continue;
    // ECHILD: the child is no longer ours to wait for (SIGCHLD ignored by
    // the caller); its number must not be signalled any more.
    int error = errno;
    pid_ = -1;
    throw ProcessError(ProcessError::Stage::Wait, error);
  }
  pid_ = -1;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace zuvprint::platform
