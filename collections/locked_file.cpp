#include "collections/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "collections/file_replacement.h"
#include "collections/leftovers.h"

namespace kv {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::atomic<milliseconds::rep> lockPatience{10'000};
// Waits between attempts at the lock: short at first, for the usual brief
// operation of another writer, then longer.
constexpr milliseconds FirstPause{1};
constexpr milliseconds LongestPause{16};

void Pause(milliseconds length) {
  const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(length).count();
  timespec pause{static_cast<time_t>(nanoseconds / 1'000'000'000),
                 static_cast<long>(nanoseconds % 1'000'000'000)};
  nanosleep(&pause, nullptr);
}

std::string Seconds(milliseconds length) {
  return std::to_string((length.count() + 999) / 1000) + " s";
}

// Takes the lock, pausing between attempts, until `deadline`. Returns 0, or
// EWOULDBLOCK when another program still held it at the deadline, or the
// error of a file system that cannot lock (ENOLCK, say).
int LockBefore(int fd, int operation, Clock::time_point deadline) {
  milliseconds pause = FirstPause;
  for (;;) {
    if (flock(fd, operation | LOCK_NB) == 0) return 0;
    if (errno != EWOULDBLOCK && errno != EINTR) return errno;
    if (Clock::now() >= deadline) return EWOULDBLOCK;
    Pause(pause);
    pause = std::min(pause * 2, LongestPause);
  }
}

// Why a lock could not be had.
FileResult LockFailure(int error, milliseconds patience) {
  if (error == EWOULDBLOCK) {
    return Fail(FileStatus::CannotOpen,
                "in use by another program; waited " + Seconds(patience) + " for it");
  }
  return Fail(FileStatus::CannotOpen, "the file cannot be locked: " + ErrnoText(error));
}

// What a name that is no regular file stands for, in a refusal.
std::string NotARegularFile(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder, not a collection file";
  if (S_ISFIFO(mode)) return "a named pipe, not a collection file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a collection file";
  return "not a regular file";
}

// The file a rename must replace: the target of a symbolic link, so that the
// link survives the rewrite.
std::string RealTarget(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string target = real;
  std::free(real);
  return target;
}

}  // namespace

std::chrono::milliseconds SetLockPatience(std::chrono::milliseconds patience) {
  return milliseconds(lockPatience.exchange(patience.count()));
}

std::string ErrnoText(int error) {
  return std::strerror(error);
}

LockedFile::~LockedFile() {
  Close();
}

void LockedFile::Close() {
  if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
  fd_ = -1;
  size_ = 0;
}

FileResult LockedFile::Open(const std::string& path, FileAccess access) {
  Close();
  RemoveLeftoversBeside(path);
  path_ = path;
  nameTaken_ = false;
  const milliseconds patience(lockPatience.load());
  const Clock::time_point deadline = Clock::now() + patience;
  const int lock = access == FileAccess::Read ? LOCK_SH : LOCK_EX;
  for (;;) {
    bool missing = false;
    if (FileResult opened = OpenOnce(access, missing); !opened) return opened;
    if (missing) return {};
    if (const int error = LockBefore(fd_, lock, deadline); error != 0) {
      Close();
      return LockFailure(error, patience);
    }
    // Another program may have renamed a rewritten file over this name while
    // we waited for the lock; the descriptor then holds the old contents.
    if (StillNamed()) break;
    Close();
    if (Clock::now() >= deadline) {
      return Fail(FileStatus::CannotOpen, "the file keeps being replaced by another program");
    }
  }
  struct stat opened {};
  fstat(fd_, &opened);
  size_ = static_cast<std::uint64_t>(opened.st_size);
  return {};
}

// Opens the file without blocking on what is not a regular file: a named
// pipe opened for reading waits for a writer, a terminal may become the
// controlling one and a device may never end. So the name is looked at before
// it is opened, the open cannot block, and the descriptor is checked again
// (the name may have changed in between).
FileResult LockedFile::OpenOnce(FileAccess access, bool& missing) {
  struct stat named {};
  if (::stat(path_.c_str(), &named) != 0) {
    missing = errno == ENOENT && access == FileAccess::WriteCreate;
    return missing ? FileResult{} : Fail(FileStatus::CannotOpen, ErrnoText(errno));
  }
  if (!S_ISREG(named.st_mode)) return Fail(FileStatus::CannotOpen, NotARegularFile(named.st_mode));
  const int flags =
      O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (access == FileAccess::Read ? O_RDONLY : O_RDWR);
  fd_ = ::open(path_.c_str(), flags);
  if (fd_ < 0) {
    missing = errno == ENOENT && access == FileAccess::WriteCreate;
    return missing ? FileResult{} : Fail(FileStatus::CannotOpen, ErrnoText(errno));
  }
  struct stat opened {};
  if (fstat(fd_, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    const mode_t mode = opened.st_mode;
    Close();
    return Fail(FileStatus::CannotOpen, NotARegularFile(mode));
  }
  fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  return {};
}

void LockedFile::Unlock() {
  if (fd_ >= 0) flock(fd_, LOCK_UN);
}

FileResult LockedFile::LockShared() {
  if (fd_ < 0) return Fail(FileStatus::CannotOpen, "the file is not open");
  const milliseconds patience(lockPatience.load());
  if (const int error = LockBefore(fd_, LOCK_SH, Clock::now() + patience); error != 0) {
    return LockFailure(error, patience);
  }
  // Texts saved meanwhile may have grown the file.
  struct stat opened {};
  if (fstat(fd_, &opened) != 0) return Fail(FileStatus::CannotOpen, ErrnoText(errno));
  size_ = static_cast<std::uint64_t>(opened.st_size);
  return {};
}

bool LockedFile::StillNamed() const {
  struct stat named {};
  struct stat opened {};
  return ::stat(path_.c_str(), &named) == 0 && fstat(fd_, &opened) == 0 &&
         named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

FileResult LockedFile::ReadAll(std::vector<std::uint8_t>& bytes) {
  try {
    bytes.assign(size_, 0);
  } catch (const std::bad_alloc&) {
    return Fail(FileStatus::NoMemory, {});
  } catch (const std::length_error&) {
    return Fail(FileStatus::NoMemory, {});
  }
  if (!Store().Read(0, bytes.data(), bytes.size())) {
    return Fail(FileStatus::CannotOpen, "read error: " + ErrnoText(errno));
  }
  return {};
}

FileResult LockedFile::ReplaceContents(const std::vector<std::uint8_t>& bytes) {
  if (fd_ < 0) {
    if (FileResult created = CreateCompleteFile(path_, bytes, nameTaken_); !created) {
      return created;
    }
  } else {
    struct stat original {};
    if (fstat(fd_, &original) != 0) return Fail(FileStatus::WriteFailed, ErrnoText(errno));
    if (FileResult replaced = ReplaceLockedFile(RealTarget(path_), original, bytes); !replaced) {
      return replaced;
    }
  }
  size_ = bytes.size();
  return {};
}

}  // namespace kv
