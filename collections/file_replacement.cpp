#include "collections/file_replacement.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "collections/locked_file.h"

namespace kv {
namespace {

constexpr std::size_t WritePiece = 1 << 16;
constexpr const char* RewriteSuffix = ".kvl-rewrite";
constexpr int CreateNameAttempts = 100;

FileResult WriteFailed(const std::string& what, int error) {
  return Fail(FileStatus::WriteFailed, what + std::strerror(error));
}

bool WriteFully(int fd, const std::uint8_t* data, std::size_t count) {
  while (count > 0) {
    const ssize_t put = ::write(fd, data, std::min(count, WritePiece));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
    data += put;
    count -= static_cast<std::size_t>(put);
  }
  return true;
}

// Writes and flushes the whole of `bytes`; errno tells why when it fails.
bool WriteAndSync(int fd, const std::vector<std::uint8_t>& bytes) {
  return WriteFully(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
}

// Makes a rename or a link durable. A failure here leaves a complete file.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A file of `folder` without a name, which vanishes with its descriptor;
// -1 where the file system or the kernel has none.
int OpenUnnamed(const std::string& folder, mode_t mode) {
  return ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
}

// Gives the unnamed file `fd` the name `path`. Linking through /proc needs no
// privilege; AT_EMPTY_PATH serves where /proc is not mounted but needs one.
// EEXIST when the name is taken.
bool LinkUnnamed(int fd, const std::string& path) {
  char procPath[64];
  std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
  if (::linkat(AT_FDCWD, procPath, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  if (errno == EEXIST) return false;
  return ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0;
}

// Whether a failed link of an unnamed file calls for the named way instead:
// anything but a taken name or a full disk means the link itself is missing.
bool LinkUnsupported(int error) {
  return error != EEXIST && error != ENOSPC && error != EDQUOT && error != EROFS;
}

// Gives the new file the original's owner and group where the process may
// (a non-root writer can often keep the group only), then its permission
// bits: after the owner, because a change of owner clears set-id bits.
void KeepOwnerAndMode(int fd, const struct stat& original) {
  if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
    [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), original.st_gid);
  }
  ::fchmod(fd, original.st_mode & 07777);
}

// Renames the complete new file over the target; on failure it goes.
FileResult RenameOver(const std::string& fixed, const std::string& target) {
  if (::rename(fixed.c_str(), target.c_str()) == 0) return {};
  const int error = errno;
  ::unlink(fixed.c_str());
  return WriteFailed("", error);
}

// The rewrite through an unnamed file, linked to `fixed` once it is complete
// and renamed at once: only a kill between these two calls leaves a file
// behind. `done` stays false when the file system cannot do it.
FileResult ReplaceThroughUnnamed(const std::string& fixed, const std::string& target,
                                 const struct stat& original,
                                 const std::vector<std::uint8_t>& bytes, bool& done) {
  done = false;
  const int fd = OpenUnnamed(FolderOf(fixed), 0600);
  if (fd < 0) return {};
  KeepOwnerAndMode(fd, original);
  FileResult result;
  if (!WriteAndSync(fd, bytes)) {
    result = WriteFailed("", errno);
  } else if (LinkUnnamed(fd, fixed)) {
    result = RenameOver(fixed, target);
  } else if (LinkUnsupported(errno)) {
    ::close(fd);
    return {};
  } else {
    result = WriteFailed("cannot name the new file: ", errno);
  }
  ::close(fd);
  done = true;
  return result;
}

// The same through a file created under the fixed name at once.
FileResult ReplaceThroughNamed(const std::string& fixed, const std::string& target,
                               const struct stat& original,
                               const std::vector<std::uint8_t>& bytes) {
  const int fd = ::open(fixed.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) return WriteFailed("cannot create a temporary file: ", errno);
  KeepOwnerAndMode(fd, original);
  const bool written = WriteAndSync(fd, bytes);
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) {
    const int error = written ? errno : writeError;
    ::unlink(fixed.c_str());
    return WriteFailed("", error);
  }
  return RenameOver(fixed, target);
}

// A name of `folder` for a file being created, free when it was chosen.
int CreateNamedTemporary(const std::string& folder, std::string& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < CreateNameAttempts; ++attempt) {
    name = folder + "/.kvl-create-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Creation where unnamed files are missing: a named file of a name of its own,
// linked to `path` when complete (link, unlike rename, never replaces) and
// then removed. Only a kill between the two leaves it behind.
FileResult CreateThroughNamed(const std::string& path, const std::vector<std::uint8_t>& bytes,
                              bool& nameTaken) {
  std::string temporary;
  const int fd = CreateNamedTemporary(FolderOf(path), temporary);
  if (fd < 0) return Fail(FileStatus::CannotOpen, "cannot create the file: " + ErrnoText(errno));
  const bool written = WriteAndSync(fd, bytes);
  int error = errno;
  const bool linked = written && ::link(temporary.c_str(), path.c_str()) == 0;
  if (written) error = errno;
  ::close(fd);
  ::unlink(temporary.c_str());
  if (linked) {
    SyncFolder(FolderOf(path));
    return {};
  }
  nameTaken = written && error == EEXIST;
  return Fail(FileStatus::CannotOpen, nameTaken ? "another program created the file meanwhile"
                                                : "cannot create the file: " + ErrnoText(error));
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string RewriteName(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  if (base.size() + 1 + std::strlen(RewriteSuffix) <= NAME_MAX) {
    return folder + "/." + base + RewriteSuffix;
  }
  // A name too long to take the suffix: a hash of it (FNV-1a) stays fixed.
  std::uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : base) hash = (hash ^ c) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return folder + "/" + RewriteSuffix + "-" + hex;
}

FileResult ReplaceLockedFile(const std::string& target, const struct stat& original,
                             const std::vector<std::uint8_t>& bytes) {
  const std::string fixed = RewriteName(target);
  ::unlink(fixed.c_str());  // a leftover of a writer killed before its rename
  bool done = false;
  FileResult replaced = ReplaceThroughUnnamed(fixed, target, original, bytes, done);
  if (!done) replaced = ReplaceThroughNamed(fixed, target, original, bytes);
  if (!replaced) return replaced;
  SyncFolder(FolderOf(target));
  return {};
}

FileResult CreateCompleteFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                              bool& nameTaken) {
  nameTaken = false;
  const int fd = OpenUnnamed(FolderOf(path), 0666);  // the umask applies as to any new file
  if (fd < 0) return CreateThroughNamed(path, bytes, nameTaken);
  if (!WriteAndSync(fd, bytes)) {
    const int error = errno;
    ::close(fd);
    return Fail(FileStatus::CannotOpen, "cannot create the file: " + ErrnoText(error));
  }
  const bool linked = LinkUnnamed(fd, path);
  const int error = errno;
  ::close(fd);
  if (!linked && LinkUnsupported(error)) return CreateThroughNamed(path, bytes, nameTaken);
  if (!linked) {
    nameTaken = error == EEXIST;
    return Fail(FileStatus::CannotOpen, nameTaken ? "another program created the file meanwhile"
                                                  : "cannot create the file: " + ErrnoText(error));
  }
  SyncFolder(FolderOf(path));
  return {};
}

}  // namespace kv
