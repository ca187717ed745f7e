// Whole files that appear complete or not at all. The new contents are
// written into an unnamed file of the target's folder (O_TMPFILE), flushed,
// and only then given a name: so a kill, a full disk or a failed write leaves
// no partial file and no full-size temporary file behind. Where the file
// system has no unnamed files, a named one takes its place and a failure
// removes it.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

#include "collections/file_result.h"

namespace kv {

// Puts `bytes` in place of `target` (the real file, not a link to it) by a
// rename, keeping its permission bits and, where the process may set them, its
// owner and group. The caller holds the exclusive lock of `target`, which is
// what makes the fixed name of the new file (RewriteName) its own: a leftover
// there from a writer killed between the link and the rename is removed first.
// On failure `target` is untouched.
FileResult ReplaceLockedFile(const std::string& target, const struct stat& original,
                             const std::vector<std::uint8_t>& bytes);

// Creates `path` holding `bytes`, with the default permissions. When the name
// is taken by the time the file is complete (another program created it
// first), nothing is written, `nameTaken` is set and the result says so.
FileResult CreateCompleteFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                              bool& nameTaken);

// The name, fixed per collection, under which a rewrite of `target` links its
// new file just before renaming it over `target`: a hidden file beside it.
std::string RewriteName(const std::string& target);

// The folder of a path ("." for a bare name).
std::string FolderOf(const std::string& path);

}  // namespace kv
