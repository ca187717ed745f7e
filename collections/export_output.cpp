#include "collections/export_output.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "collections/file_replacement.h"
#include "collections/leftovers.h"
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

// Takes the file's lock; 0, or why it could not be had.
int LockExclusively(int fd) {
  const auto deadline = Clock::now() + LockWait;
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return 0;
    if (errno != EWOULDBLOCK && errno != EINTR) return errno;
    if (Clock::now() >= deadline) return EWOULDBLOCK;
    std::this_thread::sleep_for(LockPause);
  }
}

enum class Created { Done, Exists, Failed };

// A new output file, put into place whole (file_replacement.h). Exists when
// another program made the file meanwhile: the text is then appended to
// that one.
Created CreateWhole(const std::string& path, std::string_view text, FileResult& result) {
  bool nameTaken = false;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  result = CreateCompleteFile(path, {bytes, text.size()}, nameTaken);
  if (result) return Created::Done;
  return nameTaken ? Created::Exists : Created::Failed;
}

FileResult AppendToExisting(int fd, std::string_view text) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return CannotOpen(errno);
  if (!S_ISREG(info.st_mode)) return Fail(FileStatus::CannotOpen, "not a regular file");
  if (const int error = LockExclusively(fd); error != 0) {
    return Fail(FileStatus::CannotOpen, error == EWOULDBLOCK
                                            ? "in use by another program"
                                            : "the file cannot be locked: " + ErrnoText(error));
  }
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
  RemoveLeftoversBeside(path);
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
