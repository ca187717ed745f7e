// Reading and replacing a whole small file without ever blocking, aborting or
// reading without end: what is not a regular file (a folder, a named pipe, a
// device) is refused before anything is read from it, and reading stops at a
// cap. The configuration reader uses it; it throws nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

enum class FileReadResult {
  Ok,
  Missing,         // nothing at the path
  NotRegularFile,  // a folder, a pipe, a socket or a device
  TooLarge,        // more than the cap: nothing is returned
  Unreadable,      // no permission, an input/output error
};

// Reads the whole file at path into content (emptied on any failure). A
// named pipe is never opened for long enough to block: the path is checked
// before opening, opened without blocking and checked again on the open
// descriptor, in case it was swapped in between.
[[nodiscard]] FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes,
                                             std::string& content);

// Replaces the file at path by text: a new temporary file in the same folder
// (never one that already exists) is written, flushed to the disk and renamed
// over path, so that a crash or a full disk leaves the old file whole. The
// old file's permissions are kept. False on any failure, with the old file
// untouched and the temporary file removed.
bool ReplaceFile(const std::string& path, std::string_view text);

}  // namespace kv
