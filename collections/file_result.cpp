#include "collections/file_result.h"
#include "strings/message_ids.h"

#include <string_view>

namespace kv {
namespace {

// The message of the string table, or the English text while a table lacks it.
std::string Message(const Language& language, int n, std::string_view fallback) {
  std::string text = LoadMessage(language, n);
  return text.empty() ? std::string(fallback) : text;
}

// Puts the file name where the message has its %s.
std::string WithFileName(std::string text, const std::string& fileName) {
  const std::size_t at = text.find("%s");
  if (at == std::string::npos) return text + " " + fileName;
  return text.replace(at, 2, fileName);
}

}  // namespace

std::string FileResultText(const FileResult& result, const std::string& fileName,
                           const Language& language) {
  std::string text;
  switch (result.status) {
    case FileStatus::Ok:
      return {};
    case FileStatus::NoMemory:
      text = Message(language, msg::NotEnoughMemory, "Not enough memory");
      break;
    case FileStatus::WriteFailed:
      text = "Unable to write " + fileName + "; the file keeps its previous contents";
      break;
    case FileStatus::CannotOpen:
    case FileStatus::Damaged:
      text = WithFileName(Message(language, msg::UnableToOpen, "Unable to Open %s"), fileName);
      break;
    case FileStatus::NoRecord:
    case FileStatus::Full:
      // The file itself is fine; the detail says what cannot be done.
      return fileName + ": " + result.detail;
  }
  if (!result.detail.empty()) text += " (" + result.detail + ")";
  return text;
}

std::string DamagedProblemText(const FileResult& damage, const std::string& fileName) {
  return fileName +
         ": this problem is damaged; what cannot be read is shown empty, and the other problems "
         "can be opened as usual (" +
         damage.detail + ")";
}

void ReportFileResult(const UiCallbacks& ui, const Language& language, const FileResult& result,
                      const std::string& fileName) {
  if (result.ok()) return;
  ui.Message(FileResultText(result, fileName, language), "Kestrovale", MbOk | MbIconStop);
}

}  // namespace kv
