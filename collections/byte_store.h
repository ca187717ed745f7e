// Random access to the bytes of a collection: an open file, a growing buffer
// or read-only memory. The record and string routines work on this, so the
// same code serves the program's files, the tests and the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kv {

class ByteStore {
 public:
  // A file opened for reading (and writing when writes are made); `size` is
  // its length, kept current by Write because the file is locked meanwhile.
  static ByteStore OnFile(int fd, std::uint64_t size);
  // A buffer that writes past its end extend.
  static ByteStore OnBuffer(std::vector<std::uint8_t>& bytes);
  // Bytes that can only be read.
  static ByteStore OnBytes(std::span<const std::uint8_t> bytes);

  std::uint64_t size() const { return size_; }

  // All `count` bytes at `offset`, or false (nothing past the end is read).
  bool Read(std::uint64_t offset, void* destination, std::size_t count) const;
  // Why the last failed Read of a file failed: the errno of a read error, or
  // 0 when the bytes asked for lie past the end (the file is shorter than it
  // says). A damaged file and a failing disk call for different messages.
  int readError() const { return readError_; }
  // False when the bytes could not all be written; errno tells why for files.
  bool Write(std::uint64_t offset, const void* source, std::size_t count);
  // Cuts the bytes back to `size` (to take back a failed append).
  bool Truncate(std::uint64_t size);

 private:
  int fd_ = -1;
  std::vector<std::uint8_t>* buffer_ = nullptr;
  const std::uint8_t* memory_ = nullptr;
  std::uint64_t size_ = 0;
  mutable int readError_ = 0;
};

}  // namespace kv
