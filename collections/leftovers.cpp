#include "collections/leftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <map>
#include <mutex>
#include <string_view>
#include <vector>

#include "collections/file_replacement.h"

namespace kv {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds SweepInterval{60};

constexpr std::string_view RewriteSuffix = ".kestrovale-rewrite";
constexpr std::string_view NewFileInfix = ".kestrovale-new-";
constexpr std::string_view LongRewritePrefix = "kestrovale-rewrite-";
constexpr std::string_view LongNewFilePrefix = "kestrovale-new-";
// The names of earlier versions.
constexpr std::string_view OldRewriteSuffix = ".kvl-rewrite";
constexpr std::string_view OldCreatePrefix = ".kvl-create-";
constexpr std::string_view OldExportInfix = ".kvtmp";

enum class Kind {
  None,
  Rewrite,     // of the target named, which holds the lock that protects it
  LockedOnly,  // only its own lock tells whether it is written
  NewFile,     // a process number and its own lock
};

struct Leftover {
  Kind kind = Kind::None;
  std::string target;  // Rewrite: the base name of the file rewritten
  long pid = 0;        // NewFile
};

// "<pid>-<n>" at the end of `name`, as the new-file names end.
bool EndsWithProcessAndCount(std::string_view rest, long& pid) {
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos || dash == 0 || dash + 1 == rest.size()) return false;
  const std::string_view count = rest.substr(dash + 1);
  unsigned n = 0;
  const auto counted = std::from_chars(count.data(), count.data() + count.size(), n);
  const auto read = std::from_chars(rest.data(), rest.data() + dash, pid);
  return counted.ec == std::errc() && counted.ptr == count.data() + count.size() &&
         read.ec == std::errc() && read.ptr == rest.data() + dash && pid > 0;
}

Leftover Recognise(std::string_view name) {
  Leftover leftover;
  if (name.size() > RewriteSuffix.size() && name.ends_with(RewriteSuffix)) {
    leftover.kind = Kind::Rewrite;
    leftover.target = name.substr(0, name.size() - RewriteSuffix.size());
  } else if (name.starts_with(LongRewritePrefix)) {
    leftover.kind = Kind::LockedOnly;
  } else if (name.size() > 1 + OldRewriteSuffix.size() && name.starts_with('.') &&
             name.ends_with(OldRewriteSuffix)) {
    leftover.kind = Kind::Rewrite;
    leftover.target = name.substr(1, name.size() - 1 - OldRewriteSuffix.size());
  } else if (const std::size_t infix = name.rfind(NewFileInfix); infix != std::string_view::npos) {
    if (EndsWithProcessAndCount(name.substr(infix + NewFileInfix.size()), leftover.pid)) {
      leftover.kind = Kind::NewFile;
    }
  } else if (name.starts_with(LongNewFilePrefix)) {
    const std::size_t dash = name.find('-', LongNewFilePrefix.size());
    if (dash != std::string_view::npos &&
        EndsWithProcessAndCount(name.substr(dash + 1), leftover.pid)) {
      leftover.kind = Kind::NewFile;
    }
  } else if (name.starts_with(OldCreatePrefix)) {
    if (EndsWithProcessAndCount(name.substr(OldCreatePrefix.size()), leftover.pid)) {
      leftover.kind = Kind::NewFile;
    }
  } else if (const std::size_t old = name.rfind(OldExportInfix); old != std::string_view::npos) {
    if (EndsWithProcessAndCount(name.substr(old + OldExportInfix.size()), leftover.pid)) {
      leftover.kind = Kind::NewFile;
    }
  }
  return leftover;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Opens a regular file for reading without blocking on it, or -1.
int OpenRegular(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Whether `path` still names the file open as `fd`.
bool StillNames(const std::string& path, int fd) {
  struct stat named {};
  struct stat opened {};
  return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &opened) == 0 && SameFile(named, opened);
}

// Removes `path` when nobody holds a lock on it: its writer has ended.
bool RemoveIfUnlocked(const std::string& path) {
  const int fd = OpenRegular(path);
  if (fd < 0) return false;
  const bool removed =
      ::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNames(path, fd) && ::unlink(path.c_str()) == 0;
  ::close(fd);
  return removed;
}

// Removes the new contents of a rewrite of `target` while no writer rewrites
// it: for the moment this process holds its shared lock.
bool RemoveRewriteOf(const std::string& target, const std::string& path) {
  const int fd = OpenRegular(target);
  if (fd < 0) return errno == ENOENT && RemoveIfUnlocked(path);
  const bool removed =
      ::flock(fd, LOCK_SH | LOCK_NB) == 0 && StillNames(target, fd) && ::unlink(path.c_str()) == 0;
  ::close(fd);
  return removed;
}

// Whether the process `pid` of this machine has ended. A process of another
// machine writing to a shared folder keeps its lock, which is looked at next.
bool ProcessEnded(long pid) {
  if (pid == static_cast<long>(::getpid())) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

}  // namespace

int RemoveLeftoversIn(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  std::vector<std::pair<std::string, Leftover>> found;
  while (const dirent* entry = ::readdir(dir)) {
    Leftover leftover = Recognise(entry->d_name);
    if (leftover.kind != Kind::None) found.emplace_back(entry->d_name, std::move(leftover));
  }
  ::closedir(dir);
  int removed = 0;
  for (const auto& [name, leftover] : found) {
    const std::string path = InFolder(folder, name);
    switch (leftover.kind) {
      case Kind::Rewrite:
        removed += RemoveRewriteOf(InFolder(folder, leftover.target), path) ? 1 : 0;
        break;
      case Kind::LockedOnly:
        removed += RemoveIfUnlocked(path) ? 1 : 0;
        break;
      case Kind::NewFile:
        removed += ProcessEnded(leftover.pid) && RemoveIfUnlocked(path) ? 1 : 0;
        break;
      case Kind::None:
        break;
    }
  }
  return removed;
}

void RemoveLeftoversBeside(const std::string& path) {
  static std::mutex mutex;
  static std::map<std::string, Clock::time_point> swept;
  const std::string folder = FolderOf(path);
  const Clock::time_point now = Clock::now();
  {
    std::lock_guard<std::mutex> lock(mutex);
    const auto last = swept.find(folder);
    if (last != swept.end() && now - last->second < SweepInterval) return;
    swept[folder] = now;
  }
  RemoveLeftoversIn(folder);
}

}  // namespace kv
