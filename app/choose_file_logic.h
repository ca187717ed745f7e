// The file choice by kind: the title, the filters and the default extension
// of the open or save dialog that opening, saving, importing, exporting, the
// author list and the language files use.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kv::app {

inline constexpr int ChooseOpen = 0;
inline constexpr int ChooseSaveAs = 1;
inline constexpr int ChooseAuthorList = 2;
inline constexpr int ChooseCopyPositions = 3;
inline constexpr int ChooseTextReport = 4;
inline constexpr int ChoosePgnExport = 8;
inline constexpr int ChooseEpdExport = 9;
inline constexpr int ChooseLanguageFile = 10;
inline constexpr int ChoosePopeyeExport = 11;  // solver input commands

// The title of a file dialog that keeps its own default title. Message 0
// is a menu hint, never a title.
inline constexpr int DefaultTitle = 0;

struct FileChoiceKind {
  int kind = -1;
  int titleMessage = DefaultTitle;
  std::span<const std::string_view> filters;
  std::string_view defaultExtension;  // empty: none
  bool save = false;                  // a save dialog, else an open dialog
};

// The kind's settings; kind -1 (no filters) for a kind that does not exist.
FileChoiceKind FileChoiceOf(int kind);

// The filters as one Qt name-filter string, separated by ";;".
std::string NameFilterText(const FileChoiceKind& choice);

// The chosen name with the default extension added when its last component
// has none; the case of the name is kept as the user typed it, since file
// systems may tell "A.kvl" from "a.kvl".
std::string WithDefaultExtension(const std::string& name, std::string_view extension);

}  // namespace kv::app

namespace kv::app {

// A file name as the collection dialogs show it: without the start-up
// folder when it lies inside it.
std::string ShownFileName(const std::string& path, const std::string& startFolder);

}  // namespace kv::app
