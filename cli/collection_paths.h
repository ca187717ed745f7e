// The PATH argument of search and duplicates: one collection file, or every
// collection under a folder. What cannot be read is named on stderr, so that
// a search or a scan never passes over part of PATH without a word.
#pragma once

#include <string>
#include <vector>

namespace kv::cli {

struct CollectionPaths {
  std::vector<std::string> files;
  int unreadFolders = 0;  // folders under PATH that could not be read
};

// Fills `paths` from `path`. False, with the reason on stderr, when PATH
// itself cannot be used: missing, unreadable, or neither a folder nor a
// regular file (a named pipe would block the reader, a device never ends).
// Each folder under it that cannot be read is named on stderr and counted.
bool CollectionFilesAt(const std::string& path, CollectionPaths& paths);

}  // namespace kv::cli
