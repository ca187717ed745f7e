#include "collections/file_replacement.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <sys/file.h>
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
constexpr const char* RewriteSuffix = ".kestrovale-rewrite";
constexpr const char* NewFileInfix = ".kestrovale-new-";
// The names used instead when the target's name is too long to take them.
constexpr const char* LongRewritePrefix = "kestrovale-rewrite-";
constexpr const char* LongNewFilePrefix = "kestrovale-new-";
constexpr int CreateNameAttempts = 100;

FileResult WriteFailed(const std::string& what, int error) {
  return Fail(FileStatus::WriteFailed, what + std::strerror(error));
}

FileResult CannotCreate(int error) {
  return Fail(FileStatus::CannotOpen, "cannot create the file: " + ErrnoText(error));
}

FileResult CreatedMeanwhile() {
  return Fail(FileStatus::CannotOpen, "another program created the file meanwhile");
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
bool WriteAndSync(int fd, std::span<const std::uint8_t> bytes) {
  return WriteFully(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
}

// Makes a rename or a link durable. A failure here leaves a complete file.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Marks a temporary file as being written: the lock goes with the writer, so
// a file nobody holds a lock on is a leftover (leftovers.h).
void MarkAsWritten(int fd) {
  ::flock(fd, LOCK_EX | LOCK_NB);
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

// Whether a failed link calls for another way: anything but a taken name or a
// full or read-only disk means the file system has no links (FAT: EPERM).
bool LinkUnsupported(int error) {
  return error != EEXIST && error != ENOSPC && error != EDQUOT && error != EROFS;
}

// Whether a rename that must not replace failed for want of that kind of
// rename (FUSE file systems, older network shares), not for a reason of its own.
bool NoReplaceUnsupported(int error) {
  return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// Gives the new file the original's owner and group where the process may
// (a writer who is not the owner can often keep the group only; the file then
// belongs to that writer), then its permission bits: after the owner, because
// a change of owner clears set-id bits.
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
  if (error == EPERM || error == EACCES) {
    return WriteFailed("the folder does not let this user replace the file: ", error);
  }
  return WriteFailed("", error);
}

// The rewrite through an unnamed file, linked to `fixed` once it is complete
// and renamed at once: only a kill between these two calls leaves a file
// behind. `done` stays false when the file system cannot do it.
FileResult ReplaceThroughUnnamed(const std::string& fixed, const std::string& target,
                                 const struct stat& original, std::span<const std::uint8_t> bytes,
                                 bool& done) {
  done = false;
  const int fd = OpenUnnamed(FolderOf(fixed), 0600);
  if (fd < 0) return {};
  MarkAsWritten(fd);
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
                               const struct stat& original, std::span<const std::uint8_t> bytes) {
  const int fd = ::open(fixed.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) return WriteFailed("cannot create a temporary file: ", errno);
  MarkAsWritten(fd);
  KeepOwnerAndMode(fd, original);
  if (!WriteAndSync(fd, bytes)) {
    const int error = errno;
    ::unlink(fixed.c_str());
    ::close(fd);
    return WriteFailed("", error);
  }
  // Renamed while its descriptor still holds the lock, so that it is never
  // seen under the fixed name without a writer.
  FileResult renamed = RenameOver(fixed, target);
  ::close(fd);  // the data was flushed before
  return renamed;
}

// A new file of `target`'s folder under a name of its own, locked.
int CreateNamedTemporary(const std::string& target, std::string& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < CreateNameAttempts; ++attempt) {
    name = NewFileName(target, static_cast<long>(::getpid()), counter++);
    const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
    if (fd >= 0) MarkAsWritten(fd);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Renames `temporary` to `path` where no file of that name exists, on a file
// system that has neither a rename that refuses to replace nor links. The
// look and the rename happen under a lock of the folder, which every program
// creating a file this way takes: two of them never both find the name free.
bool RenameIfFree(const std::string& temporary, const std::string& path, int& error,
                  bool& nameTaken) {
  const int folder = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    while (::flock(folder, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  struct stat existing {};
  bool renamed = false;
  if (::lstat(path.c_str(), &existing) == 0) {
    nameTaken = true;
    error = EEXIST;
  } else if (errno != ENOENT) {
    error = errno;
  } else if (::rename(temporary.c_str(), path.c_str()) == 0) {
    renamed = true;
  } else {
    error = errno;
  }
  if (folder >= 0) ::close(folder);
  return renamed;
}

// Gives the complete `temporary` the name `path` without ever replacing a file
// of that name: by a rename that refuses to replace, else by a link, else by a
// rename under the folder's lock. On failure `temporary` is still there.
bool PlaceNewFile(const std::string& temporary, const std::string& path, int& error,
                  bool& nameTaken) {
  if (::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  error = errno;
  if (!NoReplaceUnsupported(error)) {
    nameTaken = error == EEXIST;
    return false;
  }
  if (::link(temporary.c_str(), path.c_str()) == 0) {
    ::unlink(temporary.c_str());
    return true;
  }
  error = errno;
  if (!LinkUnsupported(error)) {
    nameTaken = error == EEXIST;
    return false;
  }
  return RenameIfFree(temporary, path, error, nameTaken);
}

// Creation where unnamed files are missing: a named file, locked while it is
// written, given the target's name when complete. Only a kill before that
// leaves it behind, under a name that says what it is.
FileResult CreateThroughNamed(const std::string& path, std::span<const std::uint8_t> bytes,
                              bool& nameTaken) {
  std::string temporary;
  const int fd = CreateNamedTemporary(path, temporary);
  if (fd < 0) return CannotCreate(errno);
  int error = 0;
  bool placed = false;
  if (!WriteAndSync(fd, bytes)) {
    error = errno;
  } else {
    placed = PlaceNewFile(temporary, path, error, nameTaken);
  }
  if (!placed) ::unlink(temporary.c_str());
  ::close(fd);
  if (!placed) return nameTaken ? CreatedMeanwhile() : CannotCreate(error);
  SyncFolder(FolderOf(path));
  return {};
}

// A name of `target`'s folder made of `prefix`, a hash of the target's name
// (FNV-1a) and `rest`, for names too long to take a suffix.
std::string HashedName(const std::string& folder, const std::string& base, const char* prefix,
                       const std::string& rest) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const unsigned char c : base) hash = (hash ^ c) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return folder + "/" + prefix + hex + rest;
}

std::string BaseOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string RewriteName(const std::string& target) {
  const std::string folder = FolderOf(target);
  const std::string base = BaseOf(target);
  if (base.size() + std::strlen(RewriteSuffix) <= NAME_MAX)
    return folder + "/" + base + RewriteSuffix;
  return HashedName(folder, base, LongRewritePrefix, "");
}

std::string NewFileName(const std::string& target, long pid, unsigned count) {
  const std::string folder = FolderOf(target);
  const std::string base = BaseOf(target);
  const std::string number = std::to_string(pid) + "-" + std::to_string(count);
  if (base.size() + std::strlen(NewFileInfix) + number.size() <= NAME_MAX) {
    return folder + "/" + base + NewFileInfix + number;
  }
  return HashedName(folder, base, LongNewFilePrefix, "-" + number);
}

FileResult ReplaceLockedFile(const std::string& target, const struct stat& original,
                             std::span<const std::uint8_t> bytes) {
  const std::string fixed = RewriteName(target);
  ::unlink(fixed.c_str());  // a leftover of a writer killed before its rename
  bool done = false;
  FileResult replaced = ReplaceThroughUnnamed(fixed, target, original, bytes, done);
  if (!done) replaced = ReplaceThroughNamed(fixed, target, original, bytes);
  if (!replaced) return replaced;
  SyncFolder(FolderOf(target));
  return {};
}

FileResult CreateCompleteFile(const std::string& path, std::span<const std::uint8_t> bytes,
                              bool& nameTaken) {
  nameTaken = false;
  const int fd = OpenUnnamed(FolderOf(path), 0666);  // the umask applies as to any new file
  if (fd < 0) return CreateThroughNamed(path, bytes, nameTaken);
  if (!WriteAndSync(fd, bytes)) {
    const int error = errno;
    ::close(fd);
    return CannotCreate(error);
  }
  const bool linked = LinkUnnamed(fd, path);
  const int error = errno;
  ::close(fd);
  if (!linked && LinkUnsupported(error)) return CreateThroughNamed(path, bytes, nameTaken);
  if (!linked) {
    nameTaken = error == EEXIST;
    return nameTaken ? CreatedMeanwhile() : CannotCreate(error);
  }
  SyncFolder(FolderOf(path));
  return {};
}

}  // namespace kv
