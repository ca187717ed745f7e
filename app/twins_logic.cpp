#include "app/twins_logic.h"

#include <cctype>

namespace kv::app {
namespace {

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

}  // namespace

TwinFields FieldsOfKind(int kind) {
  switch (kind) {
    case TwinMove:
    case TwinExchange:
    case TwinTranslate:
    case TwinTranslateToroidal:
      return {true, true, false};
    case TwinRemove:
      return {true, false, false};
    case TwinAdd:
      return {true, false, true};
    case TwinRemoveAdd:
      return {true, true, true};
    default:
      return {};
  }
}

std::optional<int> ParseTwinSquare(std::string_view text) {
  if (text.size() < 2) return std::nullopt;
  const int file = std::tolower(static_cast<unsigned char>(text[0])) - 'a';
  const int rank = text[1] - '0';
  if (file < 0 || file > 7 || rank < 1 || rank > 8) return std::nullopt;
  return (8 - rank) * 8 + file;
}

std::string TwinSquareText(int square) {
  if (square < 0 || square > 63) square = 0;
  return {static_cast<char>('a' + square % 8), static_cast<char>('8' - square / 8)};
}

int ParseTwinMan(std::string_view text, const Language& language) {
  const std::string_view letters = PlainLetters(language);
  int white = WhiteKing;
  if (!text.empty()) {
    for (int code = WhiteRook; code <= WhiteKing && code < int(letters.size()); ++code) {
      if (Upper(letters[code]) == Upper(text[0])) {
        white = code;
        break;
      }
    }
  }
  const char black = BlackInitial(language);
  const bool isBlack = text.size() >= 2 && black != ' ' && Upper(text[1]) == Upper(black);
  return isBlack ? 16 - white : white;
}

std::string TwinManText(int man, const Language& language) {
  const bool black = man > 8;
  const int white = black ? 16 - man : man;
  const std::string_view letters = PlainLetters(language);
  if (white < WhiteRook || white > WhiteKing || white >= int(letters.size())) return {};
  const char colour = black ? BlackInitial(language) : WhiteInitial(language);
  return {Upper(letters[white]),
          static_cast<char>(std::tolower(static_cast<unsigned char>(colour)))};
}

TwinsEditor OpenTwinsEditor(std::string_view field) {
  TwinsEditor editor;
  editor.successive = TwinsSuccessive(field);
  const int count = TwinCount(field);
  for (int i = 0; i < count; ++i) editor.entries.push_back(TwinEntryAt(field, i));
  return editor;
}

bool AddTwin(TwinsEditor& editor, const TwinEntry& entry) {
  if (int(editor.entries.size()) >= MaxTwinEntries) return false;
  editor.entries.push_back(entry);
  editor.selected = int(editor.entries.size()) - 1;
  return true;
}

bool ModifyTwin(TwinsEditor& editor, const TwinEntry& entry) {
  if (editor.selected < 0 || editor.selected >= int(editor.entries.size())) return false;
  editor.entries[editor.selected] = entry;
  return true;
}

void RemoveTwin(TwinsEditor& editor) {
  if (editor.selected < 0 || editor.selected >= int(editor.entries.size())) return;
  editor.entries.erase(editor.entries.begin() + editor.selected);
  if (editor.entries.empty()) {
    editor.selected = -1;
  } else {
    editor.selected = editor.selected > 0 ? editor.selected - 1 : 0;
  }
}

std::string TwinsEditorField(const TwinsEditor& editor) {
  if (editor.entries.empty()) return {};
  return BuildTwinsField(editor.successive, editor.entries.data(), int(editor.entries.size()));
}

}  // namespace kv::app
