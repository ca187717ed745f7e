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
#include "strings/message_ids.h"

namespace kv::cli {
namespace {

constexpr int MaterialModeCount = 3;
constexpr std::string_view MaterialModeNames[MaterialModeCount] = {"exactly", "at-least",
                                                                   "at-most"};

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

constexpr const char* MaterialHelp = "MODE is exactly, at-least or at-most; N is 1 to 32";

constexpr OptionSpec Options[] = {
    {"--total", "", "MODE:N", MaterialHelp},
    {"--white", "", "MODE:N", "White's men; MODE and N as for --total"},
    {"--black", "", "MODE:N", "Black's men; MODE and N as for --total"},
    {"--aristocratic", "", "", "no pawns"},
    {"--twins", "", "", "problems with twins"},
    {"--stip", "", "TYPE", "the type, as '#2' or 'h#3'; '?' for any kind, as '?#2'"},
    {"--text", "", "TEXT",
     "1 to 32 characters to find in the texts: AUTHOR, or AUTHOR\\SOURCE\\AWARD\\COMMENT"},
    {"--matrix", "", "BOARD", "men standing on these squares (the board field of a FEN)"},
    {"--identity", "", "", "with --matrix: the men on the very squares (the default)"},
    {"--gap", "", "", "with --matrix: the men anywhere they fit, shifted as a whole"},
    {"--symmetry", "", "", "with --matrix: the mirrored boards too"},
    {"--rotation", "", "", "with --matrix: the turned boards too"}};

constexpr CommandSpec Spec{
    .name = "search",
    .operands = "PATH",
    .minOperands = 1,
    .maxOperands = 1,
    .summary = "find problems by material, type, text or the men on given squares",
    .options = Options,
    .synopsis =
        "PATH [--total MODE:N] [--white MODE:N] [--black MODE:N] [--aristocratic] "
        "[--twins] [--stip TYPE] [--text 'AUTHOR[\\SOURCE\\AWARD\\COMMENT]'] "
        "[--matrix BOARD [--identity|--gap] [--symmetry] [--rotation]]",
    .about =
        "The collection search over one file or every collection under a folder: prints\n"
        "one \"file<TAB>record\" line per problem that meets every criterion given. Files\n"
        "and folders under PATH that cannot be read are named on stderr.\n",
    .exitStatus = "0 problems found; 1 none found, or PATH cannot be read; 2 bad arguments."};

int Bad(const std::string& message) {
  return UsageError("search: " + message);
}

int Run(const Args& args) {
  ParsedOptions parsed;
  if (int exitCode = 0; !ReadCommandLine(args, Spec, parsed, exitCode)) return exitCode;
  SearchCriteria criteria;
  Board board;
  board.fill(OffBoard);
  for (int n = 0; n < 64; ++n) board[FirstSquare + 10 * (n / 8) + n % 8] = Empty;
  const std::string& path = parsed.Operand(0);
  bool matrix = false;
  int matrixFlags = 0;
  for (const char* name : {"--total", "--white", "--black"}) {
    if (!parsed.Has(name)) continue;
    const std::string& value = parsed.Value(name);
    MaterialCriterion& material = name == std::string_view("--total")   ? criteria.total
                                  : name == std::string_view("--white") ? criteria.white
                                                                        : criteria.black;
    if (!ParseMaterial(value, material)) {
      return Bad(std::string(name) +
                 " takes MODE:N with MODE exactly, at-least or at-most and N 1..32, not '" + value +
                 "'");
    }
  }
  criteria.aristocratic = parsed.Has("--aristocratic");
  criteria.twins = parsed.Has("--twins");
  if (parsed.Has("--stip") && !ParseTypeCriterion(parsed.Value("--stip"), criteria.type))
    return Bad("unknown type '" + parsed.Value("--stip") + "'");
  if (parsed.Has("--text")) {
    criteria.text = Utf8ToCp1252(parsed.Value("--text"));
    if (criteria.text.empty() || criteria.text.size() > MaxSearchTextLength) {
      return Bad("--text takes 1 to 32 characters");
    }
  }
  if (parsed.Has("--matrix")) {
    std::string error;
    if (!ParseFenBoard(parsed.Value("--matrix"), board, &error)) return Bad("--matrix: " + error);
    matrix = true;
  }
  constexpr struct {
    const char* name;
    int flag;
  } MatrixOptions[] = {{"--identity", MatrixIdentity},
                       {"--gap", MatrixGap},
                       {"--symmetry", MatrixSymmetry},
                       {"--rotation", MatrixRotation}};
  for (const auto& option : MatrixOptions)
    if (parsed.Has(option.name)) matrixFlags |= option.flag;
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
    std::fprintf(stderr, "%s\n",
                 Cp1252ToUtf8(LoadMessage(Language{}, msg::NoProblemFound)).c_str());
    return ExitFailure;
  }
  return ExitOk;
}

Registration reg(Spec, &Run);

}  // namespace
}  // namespace kv::cli
