// The files the headless printing program writes: whole or not at all. Each
// page file or PDF goes first into a temporary file of the target's own
// folder, with every write, the flush and the close checked; only when all
// of them are complete are they renamed into place. So a full disk, a quota
// or a failed write leaves neither an empty nor a cut file behind, and a file
// of the same name from an earlier run stays as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv::print {

// Why `path` cannot be an output file, or empty when it can: an existing
// name that is not a regular file is refused before anything is drawn (a
// named pipe would block the writer until a reader came, a device or a
// folder cannot hold a page).
std::string OutputRefusal(const std::string& path);

class OutputFiles {
 public:
  OutputFiles() = default;
  OutputFiles(const OutputFiles&) = delete;
  OutputFiles& operator=(const OutputFiles&) = delete;
  // Removes the temporary files of a batch that was not committed.
  ~OutputFiles();

  // Writes `bytes` as the future contents of `path`. False, with error()
  // naming the file and the reason, when they cannot be written whole.
  bool Add(const std::string& path, std::string_view bytes);

  // Renames every file added into place. False with error() set when a
  // rename fails; the files not renamed yet are removed.
  bool Commit();

  const std::string& error() const { return error_; }

 private:
  struct Pending {
    std::string temporary;
    std::string target;
  };
  void RemovePending();

  std::vector<Pending> pending_;
  std::string error_;
};

}  // namespace kv::print
