#include "print/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace kv::print {
namespace {

constexpr std::size_t WritePiece = std::size_t{1} << 16;
constexpr int TemporaryNameAttempts = 100;
constexpr mode_t NewFileMode = 0666;  // narrowed by the umask, as any new file
constexpr std::size_t MaxStemLength = 200;

std::string SystemError(int error) {
  return std::strerror(error);
}

// The folder of a path ("." for a bare name) and its last component.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}
std::string BaseOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a rename must replace: the target of a symbolic link, so that the
// link stays and the file it names gets the new contents, as a plain write
// through the link would have done.
std::string RealTarget(const std::string& path) {
  const std::unique_ptr<char, void (*)(void*)> real(realpath(path.c_str(), nullptr), &free);
  return real ? std::string(real.get()) : path;
}

bool WriteFully(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t put = ::write(fd, bytes.data(), std::min(bytes.size(), WritePiece));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

// A new file beside `target` under a name that tells what it is
// (".sheet.pdf.printing-PID-N"), created exclusively: never someone
// else's file.
int CreateTemporary(const std::string& target, mode_t mode, std::string& name) {
  static unsigned counter = 0;
  // A long name is shortened so that the suffix still fits in a name.
  const std::string stem = FolderOf(target) + "/." + BaseOf(target).substr(0, MaxStemLength) +
                           ".printing-" + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt) {
    name = stem + std::to_string(counter++);
    const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Makes the renames durable; a failure here leaves complete files.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::string OutputRefusal(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return {};
  if (S_ISDIR(info.st_mode)) return "a folder, not a file to print into";
  if (S_ISFIFO(info.st_mode)) return "a named pipe, not a file to print into";
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return "a device, not a file to print into";
  return "not a regular file to print into";
}

OutputFiles::~OutputFiles() {
  RemovePending();
}

void OutputFiles::RemovePending() {
  for (const Pending& file : pending_) ::unlink(file.temporary.c_str());
  pending_.clear();
}

bool OutputFiles::Add(const std::string& path, std::string_view bytes) {
  if (const std::string refusal = OutputRefusal(path); !refusal.empty()) {
    error_ = path + ": " + refusal;
    return false;
  }
  const std::string target = RealTarget(path);
  // A file replaced keeps its permission bits; a new one gets the usual ones.
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  std::string temporary;
  const int fd = CreateTemporary(target, NewFileMode, temporary);
  if (fd < 0) {
    error_ = path + ": cannot create a file in " + FolderOf(target) + ": " + SystemError(errno);
    return false;
  }
  if (replacing) ::fchmod(fd, old.st_mode & 07777);
  bool written = WriteFully(fd, bytes) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) {
    ::unlink(temporary.c_str());
    error_ = path + ": cannot write: " + SystemError(error);
    return false;
  }
  pending_.push_back({temporary, target});
  return true;
}

bool OutputFiles::Commit() {
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < pending_.size(); ++i) {
    const Pending& file = pending_[i];
    if (::rename(file.temporary.c_str(), file.target.c_str()) != 0) {
      error_ = file.target + ": cannot put the new file in place: " + SystemError(errno);
      pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(i));
      RemovePending();
      return false;
    }
    const std::string folder = FolderOf(file.target);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  pending_.clear();
  for (const std::string& folder : folders) SyncFolder(folder);
  return true;
}

}  // namespace kv::print
