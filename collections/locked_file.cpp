#include "collections/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace kv {
namespace {

constexpr int LockAttempts = 50;  // 50 x 20 ms: a second for another program to finish
constexpr long LockPauseNanoseconds = 20'000'000;
constexpr int ReopenAttempts = 5;
constexpr std::size_t WritePiece = 1 << 16;

void Pause() {
  timespec pause{0, LockPauseNanoseconds};
  nanosleep(&pause, nullptr);
}

bool LockWithPatience(int fd, int operation) {
  for (int attempt = 0; attempt < LockAttempts; ++attempt) {
    if (flock(fd, operation | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    Pause();
  }
  return false;
}

bool WriteFully(int fd, const std::uint8_t* data, std::size_t count) {
  while (count > 0) {
    const ssize_t put = ::write(fd, data, std::min(count, WritePiece));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    count -= static_cast<std::size_t>(put);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
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
  path_ = path;
  int flags = O_CLOEXEC | (access == FileAccess::Read ? O_RDONLY : O_RDWR);
  if (access == FileAccess::WriteCreate) flags |= O_CREAT;
  const int lock = access == FileAccess::Read ? LOCK_SH : LOCK_EX;
  for (int attempt = 0; attempt < ReopenAttempts; ++attempt) {
    fd_ = ::open(path.c_str(), flags, 0666);
    if (fd_ < 0) return Fail(FileStatus::CannotOpen, ErrnoText(errno));
    struct stat opened {};
    if (fstat(fd_, &opened) != 0 || !S_ISREG(opened.st_mode)) {
      Close();
      return Fail(FileStatus::CannotOpen, "not a regular file");
    }
    if (!LockWithPatience(fd_, lock)) {
      Close();
      return Fail(FileStatus::CannotOpen, "in use by another program");
    }
    // Another program may have renamed a rewritten file over this name while
    // we waited for the lock; the descriptor then holds the old contents.
    struct stat named {};
    if (::stat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino) {
      fstat(fd_, &opened);
      size_ = static_cast<std::uint64_t>(opened.st_size);
      return {};
    }
    Close();
  }
  return Fail(FileStatus::CannotOpen, "the file keeps being replaced by another program");
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
  const std::string target = RealTarget(path_);
  std::string temporary = FolderOf(target) + "/.kvl-rewrite-XXXXXX";
  const int out = mkstemp(temporary.data());
  if (out < 0)
    return Fail(FileStatus::WriteFailed, "cannot create a temporary file: " + ErrnoText(errno));
  struct stat original {};
  if (fstat(fd_, &original) == 0) fchmod(out, original.st_mode & 07777);
  const bool written = WriteFully(out, bytes.data(), bytes.size()) && fsync(out) == 0;
  const int writeError = errno;
  const bool closed = ::close(out) == 0;
  if (!written || !closed) {
    ::unlink(temporary.c_str());
    return Fail(FileStatus::WriteFailed, ErrnoText(written ? errno : writeError));
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int renameError = errno;
    ::unlink(temporary.c_str());
    return Fail(FileStatus::WriteFailed, ErrnoText(renameError));
  }
  // Make the rename itself durable; a failure here leaves a complete file.
  const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    ::close(folder);
  }
  size_ = bytes.size();
  return {};
}

}  // namespace kv
