// Whole files that appear complete or not at all. The new contents are
// written into an unnamed file of the target's folder (O_TMPFILE), flushed,
// and only then given a name: so a kill, a full disk or a failed write leaves
// no partial file and no full-size temporary file behind. Where the file
// system has no unnamed files and no hard links (FAT, exFAT, many network
// shares), a named temporary file of the same folder takes their place; it is
// renamed over the target once complete (a rename is atomic there too), and a
// failure removes it.
//
// Temporary files carry the target's name and the program's, so that a user
// who finds one left by a killed program knows what it is:
//   NAME.kestrovale-rewrite            the new contents of a rewrite of NAME
//   NAME.kestrovale-new-<pid>-<n>      a new file NAME being written
// Their writer holds a lock on them while it writes; leftovers.h removes the
// ones nobody writes any more.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <span>
#include <string>

#include "collections/file_result.h"

namespace kv {

// Puts `bytes` in place of `target` (the real file, not a link to it) by a
// rename, keeping its permission bits and, where the process may set them, its
// owner and group. The caller holds the exclusive lock of `target`, which is
// what makes the fixed name of the new file (RewriteName) its own: a leftover
// there from a writer killed between the link and the rename is removed first.
// On failure `target` is untouched.
FileResult ReplaceLockedFile(const std::string& target, const struct stat& original,
                             std::span<const std::uint8_t> bytes);

// Creates `path` holding `bytes`, with the default permissions, complete or
// not at all; a failure is CannotOpen ("cannot create the file: ...") and
// leaves no file. A file of that name is never replaced: when the name is
// taken by the time the file is complete (another program created it first),
// nothing is written, `nameTaken` is set and the result says so.
FileResult CreateCompleteFile(const std::string& path, std::span<const std::uint8_t> bytes,
                              bool& nameTaken);

// The name, fixed per collection, under which a rewrite of `target` gives its
// new file a name just before renaming it over `target`.
std::string RewriteName(const std::string& target);

// The name of a new file `target` while it is written, for a process and its
// count of such files.
std::string NewFileName(const std::string& target, long pid, unsigned count);

// The folder of a path ("." for a bare name).
std::string FolderOf(const std::string& path);

}  // namespace kv
