#include "config/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

namespace kv {
namespace {

// A file descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now; false when closing reports an error (a delayed write error).
  bool Close() {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

FileReadResult ResultOfErrno() {
  return errno == ENOENT || errno == ENOTDIR ? FileReadResult::Missing : FileReadResult::Unreadable;
}

// Reads up to maxBytes + 1 bytes, so that a file over the cap is seen as such.
FileReadResult ReadAtMost(int fd, std::size_t maxBytes, std::string& content) {
  content.resize(maxBytes + 1);
  std::size_t filled = 0;
  while (filled < content.size()) {
    const ssize_t got = ::read(fd, content.data() + filled, content.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return FileReadResult::Unreadable;
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  if (filled > maxBytes) return FileReadResult::TooLarge;
  content.resize(filled);
  return FileReadResult::Ok;
}

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Creates a temporary file beside target that did not exist before; its
// name is returned in temporary.
int CreateTemporary(const std::string& target, mode_t mode, std::string& temporary) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const unsigned long tag = static_cast<unsigned long>(::getpid()) * 7919u +
                              static_cast<unsigned long>(std::time(nullptr)) + ++counter;
    temporary = target + "." + std::to_string(tag % 1000000) + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes,
                               std::string& content) {
  content.clear();
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return ResultOfErrno();
  if (!S_ISREG(status.st_mode)) return FileReadResult::NotRegularFile;
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.valid()) return ResultOfErrno();
  if (::fstat(file.get(), &status) != 0) return FileReadResult::Unreadable;
  if (!S_ISREG(status.st_mode)) return FileReadResult::NotRegularFile;
  const int flags = ::fcntl(file.get(), F_GETFL);
  if (flags >= 0) ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK);
  const FileReadResult result = ReadAtMost(file.get(), maxBytes, content);
  if (result != FileReadResult::Ok) content.clear();
  return result;
}

bool ReplaceFile(const std::string& path, std::string_view text) {
  // A new file gets the usual permissions (less the umask); a replaced one
  // keeps its own.
  mode_t mode = 0666;
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0;
  if (replacing) mode = old.st_mode & 07777;
  std::string temporary;
  Descriptor out(CreateTemporary(path, mode, temporary));
  if (!out.valid()) return false;
  bool written = WriteAll(out.get(), text) && ::fsync(out.get()) == 0;
  if (written && replacing) written = ::fchmod(out.get(), mode) == 0;
  written = out.Close() && written;
  if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace kv
