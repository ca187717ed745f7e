#include "collections/import_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "collections/locked_file.h"

namespace kv {
namespace {

constexpr std::size_t ReadPiece = 1 << 16;

}  // namespace

SourceReader::~SourceReader() {
  if (fd_ >= 0) ::close(fd_);
}

void SourceReader::OpenBytes(std::span<const std::uint8_t> bytes) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  data_ = bytes.data();
  pos_ = 0;
  end_ = bytes.size();
  failed_ = false;
  failure_.clear();
}

FileResult SourceReader::Open(const std::string& path) {
  OpenBytes({});
  // Looked at before opening: opening a pipe or a device may block or have
  // effects of its own.
  struct stat named {};
  if (::stat(path.c_str(), &named) != 0) return Fail(FileStatus::CannotOpen, ErrnoText(errno));
  if (!S_ISREG(named.st_mode)) return Fail(FileStatus::CannotOpen, "not a regular file");
  // O_NONBLOCK in case the name was replaced by a pipe in the meantime.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Fail(FileStatus::CannotOpen, ErrnoText(errno));
  struct stat opened {};
  if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    ::close(fd);
    return Fail(FileStatus::CannotOpen, "not a regular file");
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  fd_ = fd;
  buffer_.resize(ReadPiece);
  data_ = buffer_.data();
  return {};
}

bool SourceReader::Fill() {
  if (pos_ < end_) return true;
  if (fd_ < 0 || failed_) return false;
  for (;;) {
    const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      failed_ = true;
      failure_ = "read error: " + ErrnoText(errno);
      return false;
    }
    pos_ = 0;
    end_ = static_cast<std::size_t>(got);
    return got > 0;
  }
}

bool SourceReader::ReadLine(std::size_t maxLength, LongLine longLine, std::string& line,
                            bool* lineEnded) {
  line.clear();
  if (lineEnded) *lineEnded = false;
  if (!Fill()) return false;
  bool ended = false;
  bool cut = false;  // the line reached maxLength
  while (Fill()) {
    const std::uint8_t byte = data_[pos_];
    // LF, CR LF and a lone CR (old Mac files) all end a line; a CR LF split
    // between two reads of the file is still one line end.
    if (byte == '\n' || byte == '\r') {
      ++pos_;
      if (byte == '\r' && Fill() && data_[pos_] == '\n') ++pos_;
      ended = true;
      break;
    }
    if (cut) {
      // A split line goes on in the next piece; a drained one is skipped up
      // to its line end.
      if (longLine == LongLine::Split) break;
      ++pos_;
      continue;
    }
    ++pos_;
    if (byte == 0) continue;
    line += static_cast<char>(byte);
    cut = line.size() >= maxLength;
  }
  if (lineEnded) *lineEnded = ended;
  return true;
}

std::size_t SourceReader::Read(void* destination, std::size_t count) {
  std::uint8_t* out = static_cast<std::uint8_t*>(destination);
  std::size_t done = 0;
  while (done < count && Fill()) {
    const std::size_t take = std::min(count - done, end_ - pos_);
    std::memcpy(out + done, data_ + pos_, take);
    pos_ += take;
    done += take;
  }
  return done;
}

std::uint64_t SourceReader::Skip(std::uint64_t count) {
  std::uint64_t done = 0;
  while (done < count && Fill()) {
    const std::uint64_t take = std::min<std::uint64_t>(count - done, end_ - pos_);
    pos_ += static_cast<std::size_t>(take);
    done += take;
  }
  return done;
}

}  // namespace kv
