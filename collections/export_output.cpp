#include "collections/export_output.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "collections/locked_file.h"

namespace kv {
namespace {

using Clock = std::chrono::steady_clock;
// How long an append waits for another program that holds the file.
constexpr std::chrono::milliseconds LockWait{2000};
constexpr std::chrono::milliseconds LockPause{5};

FileResult CannotOpen(int error) {
  return Fail(FileStatus::CannotOpen, ErrnoText(error));
}

// Writes all of `text` to `fd`; false (errno set) on a failed write.
bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool LockExclusively(int fd) {
  const auto deadline = Clock::now() + LockWait;
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(LockPause);
  }
}

// The temporary file beside `path` that a new output file is written to.
int CreateTemporary(const std::string& path, std::string& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = path + ".kvtmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

enum class Created { Done, Exists, Failed };

// A new output file, put into place whole. Exists when another program made
// the file meanwhile: the text is then appended to that one.
Created CreateWhole(const std::string& path, std::string_view text, FileResult& result) {
  std::string temporary;
  const int fd = CreateTemporary(path, temporary);
  if (fd < 0) {
    result = CannotOpen(errno);
    return Created::Failed;
  }
  const bool written = WriteAll(fd, text) && fsync(fd) == 0;
  const int writeError = errno;
  close(fd);
  if (!written) {
    unlink(temporary.c_str());
    result = Fail(FileStatus::WriteFailed, ErrnoText(writeError));
    return Created::Failed;
  }
  if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
    return Created::Done;
  const int renameError = errno;
  // A file system without the no-replace rename: link does not replace either.
  if (renameError == EINVAL && link(temporary.c_str(), path.c_str()) == 0) {
    unlink(temporary.c_str());
    return Created::Done;
  }
  unlink(temporary.c_str());
  if (renameError == EEXIST || errno == EEXIST) return Created::Exists;
  result = Fail(FileStatus::WriteFailed, ErrnoText(renameError));
  return Created::Failed;
}

FileResult AppendToExisting(int fd, std::string_view text) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return CannotOpen(errno);
  if (!S_ISREG(info.st_mode)) return Fail(FileStatus::CannotOpen, "not a regular file");
  if (!LockExclusively(fd)) return Fail(FileStatus::CannotOpen, "the file is in use");
  const off_t oldSize = lseek(fd, 0, SEEK_END);
  if (oldSize < 0) return CannotOpen(errno);
  if (!WriteAll(fd, text)) {
    const int error = errno;
    // Leave no half text behind: the file ends where it ended.
    if (ftruncate(fd, oldSize) != 0) {
      return Fail(FileStatus::WriteFailed, ErrnoText(error) + "; the file keeps a part of it");
    }
    return Fail(FileStatus::WriteFailed, ErrnoText(error));
  }
  return {};
}

}  // namespace

FileResult AppendToOutputFile(const std::string& path, std::string_view text) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    // Without blocking, so that a named pipe is refused rather than waited on.
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
      FileResult result = AppendToExisting(fd, text);
      close(fd);
      return result;
    }
    if (errno != ENOENT) return CannotOpen(errno);
    FileResult result;
    switch (CreateWhole(path, text, result)) {
      case Created::Done:
        return {};
      case Created::Failed:
        return result;
      case Created::Exists:
        break;
    }
  }
  return Fail(FileStatus::CannotOpen, "the file keeps appearing and vanishing");
}

}  // namespace kv
