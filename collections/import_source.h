// The source of an import, read front to back: a file, or bytes in memory
// (the tests and the fuzzer). A source comes from anyone, so it is opened
// only when it is a regular file (a folder, a pipe or a device is refused at
// once, without blocking), read in pieces however large it is, and every line
// is held to the length its format allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "collections/file_result.h"

namespace kv {

// What happens to the part of a line beyond the length a format reads.
enum class LongLine {
  Drain,  // left out: the reader goes on at the next line
  Split,  // read as further lines of at most the same length
};

class SourceReader {
 public:
  SourceReader() = default;
  SourceReader(const SourceReader&) = delete;
  SourceReader& operator=(const SourceReader&) = delete;
  ~SourceReader();

  // Reads `bytes`, which must outlive the reading.
  void OpenBytes(std::span<const std::uint8_t> bytes);

  // Opens `path` for reading; CannotOpen when it is missing, unreadable or not
  // a regular file.
  FileResult Open(const std::string& path);

  // The next line without its line end (LF, CR LF or a lone CR), at most `maxLength`
  // bytes, NUL bytes left out (a stored text cannot hold them). `lineEnded`
  // tells whether a line end closed it (not for the piece of a split line, nor
  // for a last line without one). False at the end of the source.
  bool ReadLine(std::size_t maxLength, LongLine longLine, std::string& line,
                bool* lineEnded = nullptr);

  // Up to `count` bytes; returns how many were read (fewer only at the end).
  std::size_t Read(void* destination, std::size_t count);

  // Skips up to `count` bytes; returns how many were skipped.
  std::uint64_t Skip(std::uint64_t count);

  // A read of the file failed (the end of the source came early); the
  // import must not claim it read everything.
  bool failed() const { return failed_; }
  const std::string& failure() const { return failure_; }

 private:
  // Makes at least one unread byte available; false at the end.
  bool Fill();

  int fd_ = -1;
  std::vector<std::uint8_t> buffer_;
  const std::uint8_t* data_ = nullptr;  // the unread bytes: data_[pos_ .. end_)
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool failed_ = false;
  std::string failure_;
};

}  // namespace kv
