// kestrovale-cli search PATH [criteria]: the collection search over one file
// or every collection under a folder; prints one "file<TAB>record" line per
// problem found. Exit 0 with hits, 1 when nothing is found or PATH cannot be
// read, 2 for bad arguments. Files and folders under PATH that cannot be
// read are named on stderr.
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/collection_paths.h"
#include "cli/command.h"
#include "collections/file_result.h"
#include "collections/search.h"
#include "core/fen.h"
#include "solver/problem_type.h"
#include "strings/encoding.h"
#include "strings/language.h"

namespace kv::cli {
namespace {

constexpr const char* Usage =
    "PATH [--total MODE:N] [--white MODE:N] [--black MODE:N] [--aristocratic] [--twins]\n"
    "         [--stip TYPE] [--text 'AUTHOR[\\SOURCE\\AWARD\\COMMENT]'] [--matrix BOARD\n"
    "         [--identity|--gap] [--symmetry] [--rotation]]   find problems; MODE is exactly,\n"
    "         at-least or at-most (N 1..32); TYPE as 'h#3', '?#2' for any kind";

constexpr int MaterialModeCount = 3;
constexpr std::string_view MaterialModeNames[MaterialModeCount] = {"exactly", "at-least",
                                                                   "at-most"};

int Bad(const std::string& message) {
  return UsageError("search: " + message);
}

// "MODE:N" into a material criterion.
bool ParseMaterial(std::string_view text, MaterialCriterion& criterion) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view mode = text.substr(0, colon);
  const std::string count(text.substr(colon + 1));
  int modeIndex = -1;
  for (int i = 0; i < MaterialModeCount; ++i)
    if (mode == MaterialModeNames[i]) modeIndex = i;
  if (modeIndex < 0 || count.empty() || count.size() > 2 ||
      count.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  const int n = std::stoi(count);
  if (n < 1 || n > MaxMaterialCount) return false;
  criterion = {modeIndex, n};
  return true;
}

// A type text, with "?" standing for any kind.
bool ParseTypeCriterion(std::string text, TypeCriterion& criterion) {
  const std::size_t any = text.find('?');
  if (any != std::string::npos) text[any] = 'h';
  ProblemType type;
  if (!ParseProblemType(text, type)) return false;
  criterion.moves = type.moves;
  criterion.kindPlusOne = any != std::string::npos ? 0 : type.kind + 1;
  criterion.flags = type.flags;
  return true;
}

int Run(const Args& args) {
  SearchCriteria criteria;
  Board board;
  board.fill(OffBoard);
  for (int n = 0; n < 64; ++n) board[FirstSquare + 10 * (n / 8) + n % 8] = Empty;
  std::string path;
  bool matrix = false;
  int matrixFlags = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool takesValue = arg == "--total" || arg == "--white" || arg == "--black" ||
                            arg == "--stip" || arg == "--text" || arg == "--matrix";
    if (takesValue && i + 1 >= args.size()) return Bad(arg + " needs a value");
    const std::string value = takesValue ? args[++i] : std::string();
    if (arg == "--total" || arg == "--white" || arg == "--black") {
      MaterialCriterion& material = arg == "--total"   ? criteria.total
                                    : arg == "--white" ? criteria.white
                                                       : criteria.black;
      if (!ParseMaterial(value, material)) {
        return Bad(arg + " takes MODE:N with MODE exactly, at-least or at-most and N 1..32, not '" +
                   value + "'");
      }
    } else if (arg == "--aristocratic") {
      criteria.aristocratic = true;
    } else if (arg == "--twins") {
      criteria.twins = true;
    } else if (arg == "--stip") {
      if (!ParseTypeCriterion(value, criteria.type)) return Bad("unknown type '" + value + "'");
    } else if (arg == "--text") {
      criteria.text = Utf8ToCp1252(value);
      if (criteria.text.empty() || criteria.text.size() > MaxSearchTextLength) {
        return Bad("--text takes 1 to 32 characters");
      }
    } else if (arg == "--matrix") {
      std::string error;
      if (!ParseFenBoard(value, board, &error)) return Bad("--matrix: " + error);
      matrix = true;
    } else if (arg == "--identity") {
      matrixFlags |= MatrixIdentity;
    } else if (arg == "--gap") {
      matrixFlags |= MatrixGap;
    } else if (arg == "--symmetry") {
      matrixFlags |= MatrixSymmetry;
    } else if (arg == "--rotation") {
      matrixFlags |= MatrixRotation;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Bad("unknown option '" + arg + "'");
    } else if (path.empty()) {
      path = arg;
    } else {
      return Bad("unexpected argument '" + arg + "'");
    }
  }
  if (path.empty()) return Bad("expected PATH");
  if ((matrixFlags & MatrixIdentity) && (matrixFlags & MatrixGap)) {
    return Bad("--identity and --gap exclude each other");
  }
  if (matrixFlags != 0 && !matrix)
    return Bad("--identity, --gap, --symmetry and --rotation need --matrix");
  if (matrix && (matrixFlags & (MatrixIdentity | MatrixGap)) == 0) matrixFlags |= MatrixIdentity;
  criteria.matrixFlags = matrixFlags;
  criteria.materialActive = criteria.total.count + criteria.white.count + criteria.black.count +
                            (criteria.aristocratic ? 1 : 0);
  if (CriteriaDialogResult(criteria) == 0) return Bad("no criterion given");

  CollectionPaths paths;
  if (!CollectionFilesAt(path, paths)) return ExitFailure;
  const std::vector<std::string>& files = paths.files;

  ProblemList list;
  const SearchOutcome outcome = SearchFiles(criteria, board, files, list, UiCallbacks{});
  for (const UnreadFile& unread : outcome.unreadFiles) {
    const std::string text = FileResultText(unread.result, unread.path, Language{});
    std::fprintf(stderr, "kestrovale-cli: %s\n", Cp1252ToUtf8(text).c_str());
  }
  for (const ProblemListEntry& entry : list.entries) {
    std::printf("%s\t%d\n", list.FileOf(entry).c_str(), entry.record);
  }
  if (outcome.limitReached) {
    std::fprintf(stderr, "kestrovale-cli: search: stopped at the limit of %d problems\n",
                 MaxProblemListEntries);
  } else if (outcome.aborted) {
    std::fprintf(stderr, "kestrovale-cli: Search aborted\n");
  }
  if (outcome.found == 0) {
    std::fprintf(stderr, "%s\n", Cp1252ToUtf8(LoadMessage(Language{}, 49)).c_str());
    return ExitFailure;
  }
  return ExitOk;
}

Registration reg({"search", Usage, &Run});

}  // namespace
}  // namespace kv::cli
