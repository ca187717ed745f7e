// The rows of a bench list: tab-separated cells, one header line, blank
// lines and lines starting with '#' skipped.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kv::cli {

// A bench list holds some hundreds of short lines; a file larger than this
// is the wrong file, and reading it whole could exhaust memory.
inline constexpr std::size_t MaxBenchListBytes = std::size_t{16} << 20;

// Reads the rows of the list at `path`. What is not a regular file (a named
// pipe would wait for a writer, /dev/zero never ends) and a file larger than
// MaxBenchListBytes are refused before they are read. False with `error`
// saying why when the file cannot be read.
bool ReadTsvRows(const std::string& path, std::vector<std::vector<std::string>>& rows,
                 std::string& error);

}  // namespace kv::cli
