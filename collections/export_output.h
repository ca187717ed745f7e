// Writing into an export's output file. Exports always append: every problem
// adds its text to what the file already holds. The file is held exclusively
// while one text is added, and only regular files are written (a pipe or a
// device named by mistake is refused, never blocked on).
#pragma once

#include <string>
#include <string_view>

#include "collections/file_result.h"

namespace kv {

// Appends `text` to the file at `path`. A missing file is created whole, as
// collections are (file_replacement.h), so a half-written file never appears,
// on FAT and exFAT too; a failure to create it is CannotOpen and leaves no
// file. An append that fails half-way cuts the file back to its old length:
// WriteFailed, and the file holds what it held before.
FileResult AppendToOutputFile(const std::string& path, std::string_view text);

}  // namespace kv
