#include "app/choose_file_logic.h"

#include <array>

#include "strings/message_ids.h"

namespace kv::app {

namespace {

constexpr std::array<std::string_view, 5> kCollectionFilters = {
    "Kestrovale files (*.kvl)", "PGN files (*.pgn)", "EPD files (*.epd)", "DBF files (*.dbf)",
    "Alybadix arc files (*.txt)"};
// Opening also imports solver input files; copying positions does not write
// them, so they are offered to the open dialog alone.
constexpr std::array<std::string_view, 6> kOpenFilters = {
    "Kestrovale files (*.kvl)", "PGN files (*.pgn)",          "EPD files (*.epd)",
    "DBF files (*.dbf)",        "Alybadix arc files (*.txt)", "Solver input files (*.inp)"};
constexpr std::array<std::string_view, 1> kInputFilter = {"Solver input files (*.inp)"};
constexpr std::array<std::string_view, 1> kKvlFilter = {"Kestrovale files (*.kvl)"};
constexpr std::array<std::string_view, 1> kTextFilter = {"Text files (*.txt)"};
constexpr std::array<std::string_view, 1> kPgnFilter = {"PGN files (*.pgn)"};
constexpr std::array<std::string_view, 1> kEpdFilter = {"EPD files (*.epd)"};
constexpr std::array<std::string_view, 1> kStringFilter = {"String files (*.str)"};

constexpr std::array<FileChoiceKind, 9> kKinds = {{
    {ChooseOpen, DefaultTitle, kOpenFilters, "kvl", false},
    {ChooseSaveAs, msg::SavePositionIn, kKvlFilter, "kvl", true},
    {ChooseAuthorList, msg::ChangeAuthorList, kTextFilter, "txt", false},
    {ChooseCopyPositions, msg::SavePositionsIn, kCollectionFilters, "kvl", true},
    {ChooseTextReport, msg::SaveSolutionsIn, kTextFilter, "txt", true},
    {ChoosePgnExport, DefaultTitle, kPgnFilter, "pgn", true},
    {ChooseEpdExport, DefaultTitle, kEpdFilter, "epd", true},
    {ChooseLanguageFile, DefaultTitle, kStringFilter, "", false},
    {ChoosePopeyeExport, DefaultTitle, kInputFilter, "inp", true},
}};

}  // namespace

FileChoiceKind FileChoiceOf(int kind) {
  for (const FileChoiceKind& entry : kKinds) {
    if (entry.kind == kind) return entry;
  }
  return {};
}

std::string NameFilterText(const FileChoiceKind& choice) {
  std::string text;
  for (std::string_view filter : choice.filters) {
    if (!text.empty()) text += ";;";
    text += filter;
  }
  return text;
}

std::string WithDefaultExtension(const std::string& name, std::string_view extension) {
  if (name.empty() || extension.empty()) return name;
  const std::size_t slash = name.find_last_of('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  if (base == name.size()) return name;  // a folder, not a file
  // A leading dot names a hidden file rather than starting an extension.
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > base) return name;
  return name + "." + std::string(extension);
}

}  // namespace kv::app

namespace kv::app {

std::string ShownFileName(const std::string& path, const std::string& startFolder) {
  if (startFolder.empty()) return path;
  std::string prefix = startFolder;
  if (prefix.back() != '/') prefix += '/';
  if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0) {
    return path.substr(prefix.size());
  }
  return path;
}

}  // namespace kv::app
