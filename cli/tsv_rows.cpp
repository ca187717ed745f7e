#include "cli/tsv_rows.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>

namespace kv::cli {
namespace {

std::string NotARegularFile(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder, not a list";
  if (S_ISFIFO(mode)) return "a named pipe, not a list";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device, not a list";
  return "not a regular file";
}

// The whole file, at most MaxBenchListBytes. The name is looked at before it
// is opened and the descriptor again after (the open does not block, in
// case a pipe took the name in between).
bool ReadBoundedFile(const std::string& path, std::string& text, std::string& error) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error = NotARegularFile(info.st_mode);
    return false;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  bool ok = true;
  if (::fstat(fd, &info) != 0) {
    error = std::strerror(errno);
    ok = false;
  } else if (!S_ISREG(info.st_mode)) {
    error = NotARegularFile(info.st_mode);
    ok = false;
  }
  // Read piece by piece up to one byte past the limit, which tells a file
  // that is too large even when it grows while it is read.
  text.clear();
  char piece[1 << 16];
  while (ok && text.size() <= MaxBenchListBytes) {
    const ssize_t got = ::read(fd, piece, sizeof piece);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = std::strerror(errno);
      ok = false;
    }
    if (got <= 0) break;
    text.append(piece, static_cast<std::size_t>(got));
  }
  ::close(fd);
  if (ok && text.size() > MaxBenchListBytes) {
    error = "larger than " + std::to_string(MaxBenchListBytes >> 20) + " MiB, not a list";
    ok = false;
  }
  if (!ok) text.clear();
  return ok;
}

}  // namespace

bool ReadTsvRows(const std::string& path, std::vector<std::vector<std::string>>& rows,
                 std::string& error) {
  std::string text;
  if (!ReadBoundedFile(path, text, error)) return false;
  std::istringstream in(text);
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (header) {
      header = false;
      continue;
    }
    std::vector<std::string> cells;
    std::stringstream fields(line);
    std::string cell;
    while (std::getline(fields, cell, '\t')) cells.push_back(cell);
    rows.push_back(std::move(cells));
  }
  return true;
}

}  // namespace kv::cli
