// A collection file opened for one operation and closed after it, holding an
// advisory lock meanwhile: readers share the file and keep writers out;
// writers have it to themselves. A whole-file rewrite goes to a temporary file
// in the same folder that is renamed over the original only once it is
// complete on disk, so a crash, a full disk or a failed write leaves the old
// file whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "collections/byte_store.h"
#include "collections/file_result.h"

namespace kv {

enum class FileAccess {
  Read,         // shared lock: others may read, nobody writes
  Write,        // exclusive lock, the file must exist
  WriteCreate,  // exclusive lock, an empty file is created when missing
};

class LockedFile {
 public:
  LockedFile() = default;
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  ~LockedFile();

  // Opens and locks `path`. Waits a short while for another program's lock,
  // then gives up with CannotOpen.
  FileResult Open(const std::string& path, FileAccess access);
  void Close();

  std::uint64_t size() const { return size_; }
  ByteStore Store() { return ByteStore::OnFile(fd_, size_); }

  // The whole file.
  FileResult ReadAll(std::vector<std::uint8_t>& bytes);
  // Replaces the file's contents with `bytes` through a temporary file and a
  // rename; on failure the file is untouched and the temporary file removed.
  // The lock is kept until Close.
  FileResult ReplaceContents(const std::vector<std::uint8_t>& bytes);

 private:
  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// The text of errno, for the details of a failure.
std::string ErrnoText(int error);

}  // namespace kv
