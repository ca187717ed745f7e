// Writing into an export's output file. Exports always append: every problem
// adds its text to what the file already holds. The file is held exclusively
// while one text is added, and only regular files are written (a pipe or a
// device named by mistake is refused, never blocked on).
#pragma once

#include <string>
#include <string_view>

#include "collections/file_result.h"

namespace kv {

// Appends `text` to the file at `path`. A missing file is created whole: the
// text goes to a temporary file in the same folder that is renamed into place
// once complete, so a half-written file never appears. An append that fails
// half-way cuts the file back to its old length. CannotOpen when the file can
// be neither opened nor created, WriteFailed when the text could not be
// written; the file then holds what it held before.
FileResult AppendToOutputFile(const std::string& path, std::string_view text);

}  // namespace kv
