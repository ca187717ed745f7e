// A collection file opened for one operation and closed after it, holding an
// advisory lock meanwhile: readers share the file and keep writers out;
// writers have it to themselves. A whole-file rewrite writes a new file in
// the same folder that takes the original's name only once it is complete on
// disk, so a crash, a full disk or a failed write leaves the old file whole
// (file_replacement.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "collections/byte_store.h"
#include "collections/file_result.h"

namespace kv {

enum class FileAccess {
  Read,         // shared lock: others may read, nobody writes
  Write,        // exclusive lock, the file must exist
  WriteCreate,  // exclusive lock; a missing file is created by ReplaceContents
};

class LockedFile {
 public:
  LockedFile() = default;
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  ~LockedFile();

  // Opens and locks `path`, which must be a regular file: a folder, a named
  // pipe or a device is refused at once, without blocking. Waits for another
  // program's lock, and re-opens a file another writer renamed over the name
  // meanwhile, until the lock patience (10 s) has passed; then CannotOpen.
  // With WriteCreate a missing file opens as missing (exists() false).
  // First removes what killed writers left in the folder (leftovers.h).
  FileResult Open(const std::string& path, FileAccess access);
  void Close();

  bool exists() const { return fd_ >= 0; }
  std::uint64_t size() const { return size_; }
  ByteStore Store() { return ByteStore::OnFile(fd_, size_); }

  // The whole file (nothing for a missing one).
  FileResult ReadAll(std::vector<std::uint8_t>& bytes);
  // Replaces the file's contents with `bytes` (see ReplaceLockedFile); on
  // failure the file is untouched. A file that was missing is created
  // complete or not at all; when another program created it meanwhile,
  // nothing is written and nameTaken() is true: the caller starts again on
  // the existing file. The lock is kept until Close.
  FileResult ReplaceContents(const std::vector<std::uint8_t>& bytes);
  bool nameTaken() const { return nameTaken_; }

  // For a file kept open through a long operation (CollectionSnapshot):
  // Unlock lets writers in while the descriptor stays open; LockShared takes
  // the shared lock again, waiting as Open does, and takes the size anew.
  // Writers that rewrite the file put a new one in its place, so the open
  // descriptor keeps the records it had; a text saved in place is seen.
  void Unlock();
  FileResult LockShared();

 private:
  FileResult OpenOnce(FileAccess access, bool& missing);
  bool StillNamed() const;

  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  bool nameTaken_ = false;
};

// How long Open waits for a lock, 10 s unless set otherwise (tests shorten
// it). Returns the previous value.
std::chrono::milliseconds SetLockPatience(std::chrono::milliseconds patience);

// The text of errno, for the details of a failure.
std::string ErrnoText(int error);

}  // namespace kv
