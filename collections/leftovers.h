// Temporary files left by a program killed while it wrote (file_replacement.h
// names them): removed when the next operation starts on a file of their
// folder, so that a kill costs no disk space for longer than that.
//
// Only a file nobody writes any more is removed:
// - the new contents of a rewrite of NAME, when NAME exists: while this
//   process holds NAME's shared lock for a moment, no writer is rewriting it;
//   when NAME is gone: when nobody holds the lock its writer keeps on it;
// - a new file being written: when the process named in it has ended here and
//   nobody holds the lock its writer keeps on it.
// The names of earlier versions (".NAME.kvl-rewrite", ".kvl-create-<pid>-<n>",
// "NAME.kvtmp<pid>-<n>") are recognised by the same rules.
#pragma once

#include <string>

namespace kv {

// Removes the leftovers in the folder of `path`, at most once a minute per
// folder in one process (an operation on a collection calls it each time).
void RemoveLeftoversBeside(const std::string& path);

// Removes the leftovers in `folder` now; returns how many it removed.
int RemoveLeftoversIn(const std::string& folder);

}  // namespace kv
