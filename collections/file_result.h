// The outcome of an operation on a collection file, and the message that
// tells the user about a failure.
#pragma once

#include <string>
#include <utility>

#include "strings/language.h"
#include "strings/ui_callbacks.h"

namespace kv {

enum class FileStatus {
  Ok,
  CannotOpen,   // missing, unreadable, or held by another program
  Damaged,      // the bytes contradict the layout; `detail` says where
  NoRecord,     // the record asked for does not exist (or the file holds none)
  Full,         // the file would exceed 32768 records or 4 GB of offsets
  NoMemory,     // a whole-file rewrite could not get its block
  WriteFailed,  // a write, flush or rename failed; the file keeps its old contents
};

struct [[nodiscard]] FileResult {
  FileStatus status = FileStatus::Ok;
  std::string detail;  // English, for the failures; empty on success

  bool ok() const { return status == FileStatus::Ok; }
  explicit operator bool() const { return ok(); }
};

inline FileResult Fail(FileStatus status, std::string detail) {
  return FileResult{status, std::move(detail)};
}

// The text of a failure, in the interface language where the string table has
// it: "Unable to Open %s" (message 45) for files that cannot be opened or are
// damaged, "Not enough memory" (message 46), followed by the detail; a
// missing record or a full file as "<file>: <detail>".
std::string FileResultText(const FileResult& result, const std::string& fileName,
                           const Language& language);

// The warning for a problem loaded with its damaged parts left empty
// (LoadProblem with `damage`): "<file>: this problem is damaged; ...".
std::string DamagedProblemText(const FileResult& damage, const std::string& fileName);

// Shows a failure in a message box with the stop icon; nothing on success.
void ReportFileResult(const UiCallbacks& ui, const Language& language, const FileResult& result,
                      const std::string& fileName);

}  // namespace kv
