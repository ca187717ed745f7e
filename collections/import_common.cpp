#include "collections/import_common.h"

#include <array>
#include <cstdio>
#include <utility>

#include "core/rules.h"

namespace kv {
namespace {

struct FormatExtension {
  std::string_view extension;
  ImportFormat format;
};

constexpr std::array<FormatExtension, 5> FormatExtensions = {{
    {"pgn", ImportFormat::Pgn},
    {"epd", ImportFormat::Epd},
    {"dbf", ImportFormat::Dbf},
    {"txt", ImportFormat::Alybadix},
    {"inp", ImportFormat::Popeye},
}};

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where the name of the last path component starts.
std::size_t NameStart(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

ImportFormat ImportFormatOf(std::string_view path) {
  const std::size_t name = NameStart(path);
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < name) return ImportFormat::None;
  const std::string_view extension = path.substr(dot + 1);
  for (const FormatExtension& known : FormatExtensions) {
    if (extension.size() != known.extension.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < extension.size() && same; ++i) {
      same = AsciiLower(extension[i]) == known.extension[i];
    }
    if (same) return known.format;
  }
  return ImportFormat::None;
}

std::string ImportTargetPath(std::string_view sourcePath) {
  const std::size_t name = NameStart(sourcePath);
  std::size_t dot = sourcePath.rfind('.');
  if (dot == std::string_view::npos || dot < name) dot = sourcePath.size();
  std::string target(sourcePath.substr(0, dot));
  target += ".kvl";
  return target;
}

void ClearWholeProblem(CurrentProblem& problem) {
  ClearProblemInformation(problem);
  problem.type = ProblemType{};
  problem.solutionText.clear();
}

Board EmptyImportBoard() {
  Board board;
  ClearBoard(board);
  return board;
}

bool ImportBatch::Add(const CurrentProblem& problem, const Board& board) {
  if (count() >= MaxImportedProblems) {
    if (!stoppedAtLimit_ && ui_) ui_->Status(4, " " + ImportStoppedText() + " ");
    stoppedAtLimit_ = true;
    return false;
  }
  problems_.push_back({problem, BoardToPositionBytes(board)});
  if (ui_) ui_->Status(4, ImportCountText(count()));
  return true;
}

void ImportBatch::Skip(std::string note) {
  ++skipped_;
  if (static_cast<int>(skipNotes_.size()) < MaxSkipNotes) skipNotes_.push_back(std::move(note));
}

void ImportBatch::NoteNotKept(std::string_view keyword) {
  for (const std::string& known : notKept_) {
    if (known == keyword) return;
  }
  if (static_cast<int>(notKept_.size()) < MaxNotKeptKeywords) notKept_.emplace_back(keyword);
}

std::string ImportCountText(int count) {
  char text[32];
  std::snprintf(text, sizeof text, " %d problems ", count);
  return text;
}

std::string ImportStoppedText() {
  char text[64];
  std::snprintf(text, sizeof text, "import stopped after %d problems", MaxImportedProblems);
  return text;
}

std::string ImportFailureText(const ImportResult& result, const Language& language) {
  return FileResultText(result.result, result.failedFile, language);
}

}  // namespace kv
