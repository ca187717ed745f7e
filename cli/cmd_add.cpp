// kestrovale-cli add FILE --fen BOARD --stip TYPE [--authors T] [--source T]
// [--award T] [--comment T] [--twins FIELD]: appends a problem to a
// collection (created when missing), as "Add a position" does: the problem
// goes at the end in one operation, so that other writers of the same file
// lose nothing and a failure or a kill leaves the file as it was.
#include <string>

#include "cli/cmd_kvl_support.h"
#include "collections/problem_file.h"
#include "core/fen.h"
#include "solver/problem_type.h"
#include "solver/twins.h"

namespace kv::cli {
namespace {

constexpr int TwinEntrySize = 4;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The twins field as `show` prints it: bytes, "\xHH" for any byte and "\\"
// for a backslash. The first byte is the mode: "~" successive, anything else
// usual (0x7F), as `solve --twins` takes it.
bool ParseTwinsField(const std::string& text, std::string& twins, std::string& error) {
  std::string field;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      field += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\\') {
      field += '\\';
      ++i;
    } else if (i + 3 < text.size() && text[i + 1] == 'x' && HexDigit(text[i + 2]) >= 0 &&
               HexDigit(text[i + 3]) >= 0) {
      field += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
      i += 3;
    } else {
      error = "a backslash in --twins starts \\\\ or \\xHH";
      return false;
    }
  }
  if (!field.empty()) {
    const std::size_t entries = (field.size() - 1) / TwinEntrySize;
    if ((field.size() - 1) % TwinEntrySize != 0 || entries > MaxTwinEntries) {
      error = "--twins needs a mode byte and up to 31 entries of 4 bytes";
      return false;
    }
    if (field.find('\0') != std::string::npos) {
      error = "--twins cannot hold a zero byte";
      return false;
    }
    if (field[0] != TwinModeSuccessive) field[0] = TwinModeUsual;
  }
  twins = field;
  return true;
}

// A text option in Windows-1252, refused when longer than its field.
bool TakeText(const KvlArgs& args, const std::string& name, int maxLength, std::string& text,
              std::string& error) {
  if (!args.Has(name)) return true;
  text = Utf8ToCp1252(args.Value(name));
  if (text.size() > static_cast<std::size_t>(maxLength)) {
    error = name + " holds at most " + std::to_string(maxLength) + " characters";
    return false;
  }
  return true;
}

int Run(const Args& input) {
  KvlArgs args;
  std::string error;
  if (!ParseKvlArgs(input,
                    {"--fen", "--stip", "--authors", "--source", "--award", "--comment", "--twins"},
                    args, error)) {
    return UsageError("add: " + error);
  }
  if (!args.Has("--fen") || !args.Has("--stip")) {
    return UsageError("add: --fen BOARD and --stip TYPE are required");
  }
  CurrentProblem problem;
  Board board;
  const std::string& fen = args.Value("--fen");
  if (!ParseFenBoard(fen.substr(0, fen.find(' ')), board, &error)) {
    return UsageError("add: bad board: " + error);
  }
  if (!ParseProblemType(args.Value("--stip"), problem.type)) {
    return UsageError("add: bad type '" + args.Value("--stip") + "'");
  }
  if (!TakeText(args, "--authors", MaxAuthorsLength, problem.authors, error) ||
      !TakeText(args, "--source", MaxSourceLength, problem.source, error) ||
      !TakeText(args, "--award", MaxDialogAwardLength, problem.award, error) ||
      !TakeText(args, "--comment", MaxCommentLength, problem.comment, error) ||
      (args.Has("--twins") &&
       !ParseTwinsField(Utf8ToCp1252(args.Value("--twins")), problem.twins, error))) {
    return UsageError("add: " + error);
  }

  CollectionState state{args.file, -1, -1};
  if (FileResult appended = AppendProblem(state, problem, board); !appended) {
    return FileError(appended, args.file);
  }
  std::printf("%s: problem %d added\n", args.file.c_str(), state.currentIndex + 1);
  return ExitOk;
}

Registration reg({"add",
                  "FILE --fen BOARD --stip TYPE [--authors T] [--source T] [--award T] "
                  "[--comment T] [--twins FIELD]   append a problem to a collection",
                  &Run});

}  // namespace
}  // namespace kv::cli
