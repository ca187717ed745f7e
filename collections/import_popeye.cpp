#include "collections/import_popeye.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "collections/current_problem.h"
#include "solver/twins.h"
#include "strings/encoding.h"

namespace kv {
namespace {

// The three languages of the keywords, in the column order of the tables.
constexpr int LanguageCount = 3;  // English, French, German
// A begin keyword of another language than the file's needs at least this
// many letters: a stray short word must not switch the language.
constexpr std::size_t MinLanguagePrefix = 3;

// What MatchKeyword finds besides a row of its table.
constexpr int NoKeyword = -1;
constexpr int AmbiguousKeyword = -2;

struct Keyword {
  std::array<std::string_view, LanguageCount> words;
  int id;
};

enum Command : int {
  CmdBegin,
  CmdEnd,
  CmdNext,
  CmdRemark,
  CmdAuthor,
  CmdOrigin,
  CmdTitle,
  CmdAward,
  CmdProtocol,
  CmdLatex,
  CmdLatexPieces,
  CmdCondition,
  CmdOption,
  CmdStipulation,
  CmdStructuredStipulation,
  CmdForsyth,
  CmdPieces,
  CmdTwin,
  CmdZeroPosition,
};

constexpr Keyword Commands[] = {
    {{"beginproblem", "debutprobleme", "anfangproblem"}, CmdBegin},
    {{"endproblem", "finprobleme", "endeproblem"}, CmdEnd},
    {{"nextproblem", "asuivre", "weiteresproblem"}, CmdNext},
    {{"remark", "remarque", "bemerkung"}, CmdRemark},
    {{"author", "auteur", "autor"}, CmdAuthor},
    {{"origin", "source", "quelle"}, CmdOrigin},
    {{"title", "titre", "titel"}, CmdTitle},
    {{"award", "prix", "auszeichnung"}, CmdAward},
    {{"protocol", "protocol", "protokoll"}, CmdProtocol},
    {{"latex", "latex", "latex"}, CmdLatex},
    {{"latexpieces", "latexpieces", "latexpieces"}, CmdLatexPieces},
    {{"condition", "condition", "bedingung"}, CmdCondition},
    {{"option", "option", "option"}, CmdOption},
    {{"stipulation", "enonce", "forderung"}, CmdStipulation},
    {{"sstipulation", "senonce", "sforderung"}, CmdStructuredStipulation},
    {{"forsyth", "forsyth", "forsyth"}, CmdForsyth},
    {{"pieces", "pieces", "steine"}, CmdPieces},
    {{"twin", "jumeau", "zwilling"}, CmdTwin},
    {{"zeroposition", "zeroposition", "nullstellung"}, CmdZeroPosition},
};

enum TwinChange : int {
  ChangeMove,
  ChangeExchange,
  ChangeRemove,
  ChangeSubstitute,
  ChangeAdd,
  ChangeRotate,
  ChangeMirror,
  ChangeShift,
  ChangePolish,
  ChangeStipulation,
  ChangeCondition,
  ChangeContinued,
};

constexpr Keyword TwinChanges[] = {
    {{"move", "deplacement", "versetze"}, ChangeMove},
    {{"exchange", "echange", "tausche"}, ChangeExchange},
    {{"remove", "ote", "entferne"}, ChangeRemove},
    {{"substitute", "remplace", "ersetze"}, ChangeSubstitute},
    {{"add", "ajoute", "hinzufuegen"}, ChangeAdd},
    {{"rotate", "rotation", "drehung"}, ChangeRotate},
    {{"mirror", "miroir", "spiegelung"}, ChangeMirror},
    {{"shift", "translation", "verschiebung"}, ChangeShift},
    {{"shift", "translation", "verschiebe"}, ChangeShift},
    {{"polishtype", "couleurechange", "farbwechsel"}, ChangePolish},
    {{"stipulation", "enonce", "forderung"}, ChangeStipulation},
    {{"condition", "condition", "bedingung"}, ChangeCondition},
    {{"continued", "enplus", "ferner"}, ChangeContinued},
};

// What an option does to the problem as the collection stores it.
enum OptionEffect : int {
  OptionNotKept,      // steers only the search or the output: read, listed, not stored
  OptionWhiteToPlay,  // a helpmate with White beginning
  OptionDuplex,       // the twin "Duplex"
  OptionMaximum,      // Black plays his longest move: the maximum mark
  OptionChangesPlay,  // a rule the collection cannot store: the problem is left out
};

struct OptionKeyword {
  std::array<std::string_view, LanguageCount> words;
  OptionEffect id;
};

// Several rows may spell one option (a plural, an older word); the newer
// options have one word in every language.
constexpr OptionKeyword Options[] = {
    {{"try", "essais", "verfuehrung"}, OptionNotKept},
    {{"defence", "defense", "widerlegung"}, OptionNotKept},
    {{"setplay", "apparent", "satzspiel"}, OptionNotKept},
    {{"threat", "menace", "drohung"}, OptionNotKept},
    {{"variation", "variantes", "varianten"}, OptionNotKept},
    {{"variations", "variantes", "varianten"}, OptionNotKept},
    {{"movenumbers", "trace", "zugnummern"}, OptionNotKept},
    {{"startmovenumber", "enroute", "startzugnummer"}, OptionNotKept},
    {{"uptomovenumber", "uptomovenumber", "uptomovenumber"}, OptionNotKept},
    {{"nothreat", "sansmenace", "ohnedrohung"}, OptionNotKept},
    {{"maxsolutions", "maxsolutions", "maxloesungen"}, OptionNotKept},
    {{"maxflightsquares", "maxcasesfuites", "maxfluchtfelder"}, OptionNotKept},
    {{"noboard", "sansechiquier", "ohnebrett"}, OptionNotKept},
    {{"noshortvariations", "sansvariantescourtes", "ohnekurzvarianten"}, OptionNotKept},
    {{"nontrivial", "nontriviale", "nichttrivial"}, OptionNotKept},
    {{"intelligent", "intelligent", "intelligent"}, OptionNotKept},
    {{"maxtime", "maxtemps", "maxzeit"}, OptionNotKept},
    {{"stoponshortsolutions", "arretesurcourtes", "stopbeikurzloesungen"}, OptionNotKept},
    {{"stoponshortsolutions", "finapressolutionscourtes", "stopnachkurzloesungen"}, OptionNotKept},
    {{"beep", "beep", "beep"}, OptionNotKept},
    {{"beep", "bip", "pieps"}, OptionNotKept},
    {{"keepmatingpiece", "keepmatingpiece", "keepmatingpiece"}, OptionNotKept},
    {{"nosymmetry", "nosymmetry", "nosymmetry"}, OptionNotKept},
    {{"suppressgrid", "suppressgrid", "suppressgrid"}, OptionNotKept},
    {{"writegrid", "writegrid", "writegrid"}, OptionNotKept},
    {{"trivialtriesavoid", "trivialtriesavoid", "trivialtriesavoid"}, OptionNotKept},
    {{"multisolutions", "multisolutions", "multisolutions"}, OptionNotKept},
    {{"search", "search", "search"}, OptionNotKept},
    {{"whitetoplay", "apparentseul", "weissbeginnt"}, OptionWhiteToPlay},
    {{"duplex", "duplex", "duplex"}, OptionDuplex},
    {{"maxi", "maxi", "maxi"}, OptionMaximum},
    {{"halfduplex", "semiduplex", "halbduplex"}, OptionChangesPlay},
    {{"nowk", "sansrb", "ohnewk"}, OptionChangesPlay},
    {{"nobk", "sansrn", "ohnesk"}, OptionChangesPlay},
    {{"enpassant", "enpassant", "enpassant"}, OptionChangesPlay},
    {{"nocastling", "sansroque", "keinerochade"}, OptionChangesPlay},
    {{"castlingmutuallyexclusive", "roquesmutuellementexclusifs",
      "rochadengegenseitigausschliessend"},
     OptionChangesPlay},
    {{"postkeyplay", "apresclef", "nachschluessel"}, OptionChangesPlay},
    {{"quodlibet", "quodlibet", "quodlibet"}, OptionChangesPlay},
    {{"lastcapture", "dernierprise", "letzterschlag"}, OptionChangesPlay},
    {{"goalisend", "butestfin", "zielistende"}, OptionChangesPlay},
    {{"nullmoves", "nullmoves", "nullmoves"}, OptionChangesPlay},
};

// The one condition the collection stores: Black plays his longest move.
// Written whole; the conditions of fairy chess are too many to tell a
// shortened one apart.
constexpr std::array<std::array<std::string_view, 2>, LanguageCount> MaximumConditions = {{
    {"blackmaximummer", "maximummer"},
    {"noirmaximum", "maximum"},
    {"schwarzerlaengstzueger", "laengstzueger"},
}};

constexpr int ColourWhite = 0;
constexpr int ColourBlack = 1;
constexpr int ColourNeutral = 2;
constexpr Keyword Colours[] = {
    {{"white", "blanc", "weiss"}, ColourWhite},
    {{"black", "noir", "schwarz"}, ColourBlack},
    {{"neutral", "neutre", "neutral"}, ColourNeutral},
};

// The letters of king, queen, rook, bishop, knight and pawn, by language.
constexpr std::array<std::string_view, LanguageCount> ManLetters = {"kqrbsp", "rdtfcp", "kdtlsb"};
constexpr std::array<PieceCode, 6> WhiteMen = {WhiteKing,   WhiteQueen,  WhiteRook,
                                               WhiteBishop, WhiteKnight, WhitePawn};

constexpr char DefaultMirrorFiles[] = "a1<-->h1";  // files reversed
constexpr char DefaultMirrorRanks[] = "a1<-->a8";  // ranks reversed

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = Lower(c);
  return lower;
}

bool IsWord(std::string_view token) {
  if (token.empty()) return false;
  for (char c : token) {
    const char l = Lower(c);
    if (l < 'a' || l > 'z') return false;
  }
  return true;
}

// The row of `table` whose keyword `token` spells in `language`, in either
// case: the keyword written whole, or shortened to any prefix that only one
// keyword of the table has. Rows that spell the same word are one keyword,
// and a prefix of a keyword that begins every longer match ("var" of
// "variation" and "variations") means that keyword. NoKeyword when no row
// matches, AmbiguousKeyword when several do.
template <typename Row, std::size_t N>
int MatchKeyword(std::string_view token, const Row (&table)[N], int language) {
  if (!IsWord(token)) return NoKeyword;
  const std::string lower = LowerCase(token);
  const auto word = [&](std::size_t row) { return table[row].words[std::size_t(language)]; };
  int shortest = NoKeyword;
  for (std::size_t row = 0; row < N; ++row) {
    if (word(row) == lower) return static_cast<int>(row);
    if (word(row).substr(0, lower.size()) != lower) continue;
    if (shortest < 0 || word(row).size() < word(std::size_t(shortest)).size()) {
      shortest = static_cast<int>(row);
    }
  }
  if (shortest < 0) return NoKeyword;
  const std::string_view stem = word(std::size_t(shortest));
  for (std::size_t row = 0; row < N; ++row) {
    if (word(row).substr(0, lower.size()) == lower && word(row).substr(0, stem.size()) != stem) {
      return AmbiguousKeyword;
    }
  }
  return shortest;
}

// The id of the keyword MatchKeyword finds, or what it found instead.
template <std::size_t N>
int MatchId(std::string_view token, const Keyword (&table)[N], int language) {
  const int row = MatchKeyword(token, table, language);
  return row < 0 ? row : table[row].id;
}

// The stored number (0 = a8 .. 63 = h1) of a square written as "e4"; -1 when
// the text is no square of the board.
int ParseSquare(std::string_view text) {
  if (text.size() != 2) return -1;
  const char file = Lower(text[0]);
  const char rank = text[1];
  if (file < 'a' || file > 'h' || rank < '1' || rank > '8') return -1;
  return ('8' - rank) * 8 + (file - 'a');
}

bool IsSquareList(std::string_view text) {
  if (text.empty() || text.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    if (ParseSquare(text.substr(i, 2)) < 0) return false;
  }
  return true;
}

}  // namespace

bool PopeyeTextIsUtf8(std::string_view text) {
  bool beyondAscii = false;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
    } else if (c >= 0xE0) {
      length = c <= 0xEF ? 3 : 0;
    } else if (c >= 0xC2) {
      length = 2;
    } else if (c >= 0x80) {
      length = 0;
    }
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    beyondAscii = beyondAscii || length > 1;
    i += length;
  }
  return beyondAscii;
}

namespace {

// A text field of the file as Windows-1252.
std::string FieldText(std::string_view text) {
  return PopeyeTextIsUtf8(text) ? Utf8ToCp1252(text) : std::string(text);
}

// The refusal of a twin's added men named before any colour word.
std::string WithoutColour(const std::string& word, const std::string& men) {
  return "the twin change '" + word + " " + men + "' without a colour";
}

// The source read as whitespace-separated tokens, line by line, with the rest
// of a line available to the commands that take a text.
class Lexer {
 public:
  explicit Lexer(SourceReader& source) : source_(source) {}

  // The next token without taking it; false at the end of the source.
  bool Peek(std::string_view& token) {
    while (true) {
      while (pos_ < line_.size() && IsBlank(line_[pos_])) ++pos_;
      if (pos_ < line_.size()) break;
      if (!ReadLine()) return false;
    }
    std::size_t end = pos_;
    while (end < line_.size() && !IsBlank(line_[end])) ++end;
    token = std::string_view(line_).substr(pos_, end - pos_);
    tokenEnd_ = end;
    return true;
  }

  // Takes the token the last Peek returned.
  void Take() { pos_ = tokenEnd_; }

  // The rest of the current line, without the blanks around it.
  std::string RestOfLine() {
    while (pos_ < line_.size() && IsBlank(line_[pos_])) ++pos_;
    std::size_t end = line_.size();
    while (end > pos_ && IsBlank(line_[end - 1])) --end;
    std::string rest = line_.substr(pos_, end - pos_);
    pos_ = line_.size();
    return rest;
  }

  // Whether a line longer than PopeyeLineLength was met since the last call.
  bool TakeOverlong() {
    const bool overlong = overlong_;
    overlong_ = false;
    return overlong;
  }

 private:
  static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

  bool ReadLine() {
    bool ended = false;
    if (!source_.ReadLine(PopeyeLineLength, LongLine::Split, line_, &ended)) return false;
    pos_ = 0;
    if (!ended && line_.size() >= static_cast<std::size_t>(PopeyeLineLength)) {
      // The rest of an overlong line is drained; its problem is not read.
      overlong_ = true;
      std::string piece;
      while (!ended && source_.ReadLine(PopeyeLineLength, LongLine::Split, piece, &ended)) {
      }
    }
    return true;
  }

  SourceReader& source_;
  std::string line_;
  std::size_t pos_ = 0;
  std::size_t tokenEnd_ = 0;
  bool overlong_ = false;
};

// One twin line: its changes in order and whether it builds on the twin
// before it.
struct TwinLine {
  std::vector<TwinEntry> changes;
  bool continued = false;
};

// A problem while it is read: what it will be stored as, or why it is not.
struct Draft {
  CurrentProblem problem;
  Board board = EmptyImportBoard();
  std::vector<std::string> authors;
  std::string reason;  // not empty: the problem is left out
  bool anything = false;
  bool stipulation = false;
  bool whiteToPlay = false;
  bool duplex = false;
  bool zeroPosition = false;
  bool hasMen = false;
  std::vector<TwinLine> twins;

  void Refuse(std::string why) {
    if (reason.empty()) reason = std::move(why);
  }
};

class Reader {
 public:
  Reader(SourceReader& source, ImportBatch& batch) : lexer_(source), batch_(batch) {}

  FileResult Run() {
    std::string_view token;
    if (!lexer_.Peek(token) || !StartsFile(token)) {
      return Fail(FileStatus::Damaged,
                  "the file does not begin with beginproblem, debutprobleme or anfangproblem");
    }
    lexer_.Take();
    StartProblem();
    bool inProblem = true;
    while (lexer_.Peek(token)) {
      if (!inProblem) {
        // After an end keyword only a new begin keyword starts a problem.
        lexer_.Take();
        if (StartsFile(token)) {
          StartProblem();
          inProblem = true;
        }
        continue;
      }
      // The token's text lives in the line buffer, which reading on replaces.
      const std::string word(token);
      const int row = MatchKeyword(word, Commands, language_);
      const int command = row < 0 ? row : Commands[row].id;
      if (command == CmdBegin || (command < 0 && StartsFile(word))) {
        lexer_.Take();
        draft_.Refuse("no end keyword before the next beginproblem");
        if (!FinishProblem()) return {};
        StartsFile(word);
        StartProblem();
        continue;
      }
      lexer_.Take();
      if (command == CmdEnd || command == CmdNext) {
        if (ReadingCutShort(word, row)) continue;
        if (!FinishProblem()) return {};
        inProblem = command == CmdNext;
        if (inProblem) StartProblem();
        continue;
      }
      draft_.anything = true;
      ReadCommand(command, word);
      if (lexer_.TakeOverlong()) draft_.Refuse("a line longer than 1023 characters");
    }
    if (inProblem && draft_.anything) {
      draft_.Refuse("the file ends before its endproblem");
      FinishProblem();
    }
    return {};
  }

 private:
  // Whether `token` is a begin keyword of any language; sets the language
  // of the keywords that follow.
  bool StartsFile(std::string_view token) {
    if (!IsWord(token)) return false;
    const std::string lower = LowerCase(token);
    for (int language = 0; language < LanguageCount; ++language) {
      const std::string_view begin = Commands[CmdBegin].words[std::size_t(language)];
      if (lower == begin ||
          (lower.size() >= MinLanguagePrefix && begin.substr(0, lower.size()) == lower)) {
        language_ = language;
        return true;
      }
    }
    return false;
  }

  void StartProblem() {
    draft_ = Draft{};
    ClearWholeProblem(draft_.problem);
    ++number_;
  }

  int CommandOf(std::string_view token) const { return MatchId(token, Commands, language_); }
  bool IsCommand(std::string_view token) const { return CommandOf(token) >= 0; }

  // A shortened end keyword ("wei" of "weiteresproblem") followed by what no
  // problem begins with was no end: the problem's reading was cut short
  // there. It is not kept, and the words after the false end still belong
  // to it, up to the next end keyword, so that they do not make a phantom
  // problem of their own.
  bool ReadingCutShort(const std::string& word, int row) {
    const std::string_view keyword = Commands[row].words[std::size_t(language_)];
    if (LowerCase(word) == keyword) return false;
    std::string_view next;
    if (!lexer_.Peek(next)) return false;
    const int following = CommandOf(next);
    const bool begins = Commands[row].id == CmdNext ? following >= 0 : following == CmdBegin;
    if (begins || IsBeginOfAnyLanguage(next)) return false;
    draft_.Refuse("its reading stopped at '" + word + "' (read as " + std::string(keyword) +
                  ") before '" + std::string(next) + "'");
    draft_.anything = true;
    return true;
  }

  bool IsBeginOfAnyLanguage(std::string_view token) {
    const int language = language_;
    const bool begins = StartsFile(token);
    language_ = language;
    return begins;
  }

  // The tokens up to the next command keyword (or the end of the source).
  std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    std::string_view token;
    while (lexer_.Peek(token) && !IsCommand(token)) {
      arguments.emplace_back(token);
      lexer_.Take();
    }
    return arguments;
  }

  void ReadCommand(int command, const std::string& token) {
    switch (command) {
      case CmdRemark:
        ReadRemark(FieldText(lexer_.RestOfLine()));
        break;
      case CmdAuthor:
        if (std::string author = FieldText(lexer_.RestOfLine()); !author.empty())
          draft_.authors.push_back(std::move(author));
        break;
      case CmdOrigin:
        AppendText(draft_.problem.source, FieldText(lexer_.RestOfLine()), "; ");
        break;
      case CmdTitle:
        AppendText(draft_.problem.comment, FieldText(lexer_.RestOfLine()), " ");
        break;
      case CmdAward:
        AppendText(draft_.problem.award, FieldText(lexer_.RestOfLine()), " ");
        break;
      case CmdProtocol:
      case CmdLatex:
      case CmdLatexPieces:
        // An output file of the solver or the look of its LaTeX diagrams:
        // nothing of the problem.
        lexer_.RestOfLine();
        NoteNotKept(token, command);
        break;
      case CmdCondition:
        ReadCondition();
        break;
      case CmdOption:
        ReadOptions();
        break;
      case CmdStipulation:
        ReadStipulation(Arguments());
        break;
      case CmdStructuredStipulation:
        Arguments();
        draft_.Refuse("a structured stipulation");
        break;
      case CmdForsyth:
        Arguments();
        draft_.Refuse("a position in Forsyth form (only pieces are read)");
        break;
      case CmdPieces:
        ReadPieces();
        break;
      case CmdTwin:
      case CmdZeroPosition:
        if (command == CmdZeroPosition) {
          if (!draft_.twins.empty()) draft_.Refuse("zeroposition after a twin");
          draft_.zeroPosition = true;
        }
        ReadTwin();
        break;
      default:
        Arguments();
        draft_.Refuse(std::string(command == AmbiguousKeyword ? "the ambiguous command '"
                                                              : "unknown command '") +
                      token + "'");
        break;
    }
  }

  // The whole word of a command that is read but not kept, for the summary.
  void NoteNotKept(const std::string& token, int command) {
    for (const Keyword& keyword : Commands) {
      if (keyword.id == command) {
        batch_.NoteNotKept(keyword.words[std::size_t(language_)]);
        return;
      }
    }
    batch_.NoteNotKept(LowerCase(token));
  }

  static void AppendText(std::string& field, const std::string& text, std::string_view joint) {
    if (text.empty()) return;
    if (!field.empty()) field += joint;
    field += text;
  }

  // A remark that starts with the tag of an extra string is that string
  // (the export writes them so); any other remark is left out.
  void ReadRemark(const std::string& text) {
    for (std::size_t slot = 0; slot < ExtraStringTags.size(); ++slot) {
      const std::string_view tag = ExtraStringTags[slot];
      if (text.compare(0, tag.size(), tag) != 0) continue;
      // The export writes one blank after the tag.
      std::size_t start = tag.size();
      if (start < text.size() && text[start] == ' ') ++start;
      draft_.problem.extraStrings[slot] = CleanExtraString(std::string_view(text).substr(start));
      return;
    }
  }

  bool IsMaximumCondition(std::string_view word) const {
    const std::string lower = LowerCase(word);
    for (const std::string_view maximum : MaximumConditions[std::size_t(language_)]) {
      if (lower == maximum) return true;
    }
    return false;
  }

  // The conditions up to the next command: only the maximummer is stored.
  void ReadCondition() {
    std::vector<std::string> conditions;
    std::string_view token;
    while (lexer_.Peek(token) && (IsMaximumCondition(token) || !IsCommand(token))) {
      conditions.emplace_back(token);
      lexer_.Take();
    }
    if (conditions.empty()) {
      draft_.Refuse("an empty condition");
      return;
    }
    for (const std::string& condition : conditions) {
      if (!IsMaximumCondition(condition)) {
        draft_.Refuse("the fairy condition '" + condition + "'");
        return;
      }
    }
    draft_.problem.type.flags |= FlagMaximum;
  }

  // The options up to the next command. An option's word is read before a
  // command's, as the solvers read it; numbers and squares are the values
  // of the option before them.
  void ReadOptions() {
    std::string_view token;
    while (lexer_.Peek(token)) {
      const std::string word(token);
      const int row = MatchKeyword(word, Options, language_);
      if (row < 0 && IsCommand(word)) break;
      lexer_.Take();
      if (!IsWord(word)) continue;
      if (row == AmbiguousKeyword) {
        draft_.Refuse("the ambiguous option '" + word + "'");
        continue;
      }
      if (row == NoKeyword) {
        draft_.Refuse("the unknown option '" + word + "'");
        continue;
      }
      switch (Options[row].id) {
        case OptionNotKept:
          batch_.NoteNotKept(Options[row].words[std::size_t(language_)]);
          break;
        case OptionWhiteToPlay:
          draft_.whiteToPlay = true;
          break;
        case OptionDuplex:
          draft_.duplex = true;
          break;
        case OptionMaximum:
          draft_.problem.type.flags |= FlagMaximum;
          break;
        case OptionChangesPlay:
          draft_.Refuse("the option '" + word + "', which the collection cannot store");
          break;
      }
    }
  }

  void ReadStipulation(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) text += argument;
    ProblemType type = draft_.problem.type;
    if (!ParsePopeyeStipulation(text, type)) {
      draft_.Refuse("the stipulation '" + text + "'");
      return;
    }
    // A maximum condition may come before the stipulation.
    type.flags |= draft_.problem.type.flags & FlagMaximum;
    draft_.problem.type = type;
    draft_.stipulation = true;
  }

  // The colour a word names (a shortened colour word is read before a
  // command: "wei" is white, not "weiteresproblem"); -1 for none.
  int ColourOf(std::string_view word) {
    const int colour = MatchId(word, Colours, language_);
    if (colour == ColourNeutral) draft_.Refuse("neutral men");
    return colour < 0 ? -1 : colour;
  }

  // Colour words and men ("Ke1", "Pa2b2c2") up to the next command.
  void ReadPieces() {
    int colour = -1;  // before the first colour word
    std::string_view token;
    while (lexer_.Peek(token)) {
      const std::string word(token);
      if (const int named = ColourOf(word); named >= 0) {
        lexer_.Take();
        colour = named;
        continue;
      }
      if (IsCommand(word)) break;
      lexer_.Take();
      if (colour < 0) {
        draft_.Refuse("the man '" + word + "' has no colour");
      } else if (IsWord(word)) {
        draft_.Refuse("the piece attribute '" + word + "'");
      } else {
        PlaceMen(word, colour == ColourBlack);
      }
    }
  }

  // The man and squares of a men token; false (with the reason) when it is
  // no orthodox man on squares of the board.
  bool ParseMen(std::string_view token, bool black, PieceCode& man, std::string& squares) {
    // The walk is the shortest prefix after which only squares follow.
    std::size_t walkLength = 0;
    for (std::size_t length = 1; length <= 2 && length < token.size(); ++length) {
      if (IsSquareList(token.substr(length))) {
        walkLength = length;
        break;
      }
    }
    if (walkLength == 0) {
      draft_.Refuse("'" + std::string(token) + "' is no man on squares of the board");
      return false;
    }
    const std::string walk = LowerCase(token.substr(0, walkLength));
    const std::string_view letters = ManLetters[static_cast<std::size_t>(language_)];
    const std::size_t index = walk.size() == 1 ? letters.find(walk[0]) : std::string_view::npos;
    if (index == std::string_view::npos) {
      draft_.Refuse("the fairy man '" + std::string(token.substr(0, walkLength)) + "'");
      return false;
    }
    man = black ? static_cast<PieceCode>(16 - WhiteMen[index]) : WhiteMen[index];
    squares = std::string(token.substr(walkLength));
    return true;
  }

  void PlaceMen(std::string_view token, bool black) {
    PieceCode man = Empty;
    std::string squares;
    if (!ParseMen(token, black, man, squares)) return;
    for (std::size_t i = 0; i < squares.size(); i += 2) {
      const int n = ParseSquare(std::string_view(squares).substr(i, 2));
      std::int8_t& cell = draft_.board[static_cast<std::size_t>(StoredSquare(n))];
      if (cell != Empty) {
        draft_.Refuse("two men on " + squares.substr(i, 2));
        return;
      }
      if ((man == WhiteKing || man == BlackKing) && HasMan(man)) {
        draft_.Refuse(man == WhiteKing ? "two white kings" : "two black kings");
        return;
      }
      cell = man;
      draft_.hasMen = true;
    }
  }

  bool HasMan(PieceCode man) const {
    for (int n = 0; n < PositionByteCount; ++n) {
      if (draft_.board[static_cast<std::size_t>(StoredSquare(n))] == man) return true;
    }
    return false;
  }

  // The changes of one "twin" (or "zeroposition") up to the next command.
  void ReadTwin() {
    TwinLine line;
    std::string_view token;
    while (lexer_.Peek(token)) {
      const int change = MatchId(token, TwinChanges, language_);
      if (change < 0 && IsCommand(token)) break;
      const std::string word(token);
      lexer_.Take();
      if (change < 0) {
        draft_.Refuse("the unknown twin change '" + word + "'");
        continue;
      }
      ReadTwinChange(change, word, line);
    }
    MergeRemoveAndAdd(line.changes);
    draft_.twins.push_back(std::move(line));
  }

  // The next token when it is not a keyword; empty otherwise.
  std::string Operand() {
    std::string_view token;
    if (!lexer_.Peek(token) || IsCommand(token) || MatchId(token, TwinChanges, language_) >= 0)
      return {};
    lexer_.Take();
    return std::string(token);
  }

  bool TwoSquares(int& a, int& b, const std::string& word) {
    const std::string first = Operand();
    const std::string second = Operand();
    a = ParseSquare(first);
    b = ParseSquare(second);
    if (a >= 0 && b >= 0) return true;
    draft_.Refuse("the twin change '" + word + " " + first + " " + second + "'");
    return false;
  }

  void ReadTwinChange(int change, const std::string& word, TwinLine& line) {
    TwinEntry entry;
    switch (change) {
      case ChangeContinued:
        line.continued = true;
        return;
      case ChangeMove:
      case ChangeExchange:
        if (!TwoSquares(entry.square1, entry.square2, word)) return;
        entry.kind = change == ChangeMove ? TwinMove : TwinExchange;
        break;
      case ChangeRemove: {
        const std::string square = Operand();
        entry.square1 = ParseSquare(square);
        if (entry.square1 < 0) {
          draft_.Refuse("the twin change '" + word + " " + square + "'");
          return;
        }
        entry.kind = TwinRemove;
        break;
      }
      case ChangeAdd:
        ReadTwinAdd(word, line);
        return;
      case ChangeRotate: {
        const std::string degrees = Operand();
        // The file turns the board to the left (counter-clockwise); our
        // rotations turn it clockwise.
        if (degrees == "90") {
          entry.kind = TwinRotate270;
        } else if (degrees == "180") {
          entry.kind = TwinRotate180;
        } else if (degrees == "270") {
          entry.kind = TwinRotate90;
        } else {
          draft_.Refuse("the rotation '" + degrees + "'");
          return;
        }
        break;
      }
      case ChangeMirror: {
        const std::string axis = LowerCase(Operand());
        if (axis == DefaultMirrorFiles) {
          entry.kind = TwinMirrorHorizontal;
        } else if (axis == DefaultMirrorRanks) {
          entry.kind = TwinMirrorVertical;
        } else {
          draft_.Refuse("the mirror '" + axis + "'");
          return;
        }
        break;
      }
      case ChangeShift: {
        if (!TwoSquares(entry.square1, entry.square2, word)) return;
        const int files = entry.square2 % 8 - entry.square1 % 8;
        const int ranks = entry.square2 / 8 - entry.square1 / 8;
        // Our translation moves the board by one square only.
        if (files * files + ranks * ranks != 1) {
          draft_.Refuse("a shift by more than one square");
          return;
        }
        entry.kind = TwinTranslate;
        break;
      }
      case ChangePolish:
        entry.kind = TwinReverseColours;
        break;
      case ChangeStipulation: {
        const std::string text = Operand();
        ProblemType type;
        // A twin entry stores the number of moves in one printable byte.
        if (!ParsePopeyeStipulation(text, type) || type.moves > MaxTwinStipulationMoves) {
          draft_.Refuse("the twin stipulation '" + text + "'");
          return;
        }
        entry.kind = TwinChangeType;
        entry.square1 = type.kind | type.flags;
        entry.square2 = type.moves;
        break;
      }
      default:
        draft_.Refuse("the twin change '" + word + "'");
        return;
    }
    line.changes.push_back(entry);
  }

  // "add white Qe8 Sa1b1 black Pa5": one entry per man added; a colour word
  // sets the colour of the men after it.
  void ReadTwinAdd(const std::string& word, TwinLine& line) {
    int colour = -1;
    bool any = false;
    std::string_view token;
    while (lexer_.Peek(token)) {
      const std::string men(token);
      if (const int named = ColourOf(men); named >= 0) {
        lexer_.Take();
        colour = named;
        continue;
      }
      if (IsWord(men)) break;
      lexer_.Take();
      if (colour < 0) {
        draft_.Refuse(WithoutColour(word, men));
        return;
      }
      PieceCode man = Empty;
      std::string squares;
      if (!ParseMen(men, colour == ColourBlack, man, squares)) return;
      for (std::size_t i = 0; i < squares.size(); i += 2) {
        TwinEntry entry;
        entry.kind = TwinAdd;
        entry.square1 = ParseSquare(std::string_view(squares).substr(i, 2));
        entry.man = man;
        line.changes.push_back(entry);
        any = true;
      }
    }
    if (!any) draft_.Refuse("the twin change '" + word + "' without a man");
  }

  // A removal followed by an addition is our single "remove a man and add
  // one" change, which the export writes as these two.
  static void MergeRemoveAndAdd(std::vector<TwinEntry>& changes) {
    for (std::size_t i = 0; i + 1 < changes.size(); ++i) {
      if (changes[i].kind != TwinRemove || changes[i + 1].kind != TwinAdd) continue;
      changes[i].kind = TwinRemoveAdd;
      changes[i].square2 = changes[i + 1].square1;
      changes[i].man = changes[i + 1].man;
      changes.erase(changes.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
  }

  // The twins field of the draft; false (with the reason) when the twins
  // cannot be stored.
  bool BuildTwins() {
    std::vector<TwinEntry> entries;
    if (draft_.duplex) {
      if (!draft_.twins.empty()) {
        draft_.Refuse("duplex together with twins");
        return false;
      }
      entries = {TwinEntry{}, TwinEntry{TwinDuplex, false, 0, 0, 0}};
      draft_.problem.twins = BuildTwinsField(false, entries.data(), 2);
      return true;
    }
    if (draft_.twins.empty()) return true;
    // Successive when every twin after the first builds on the one before
    // (the first always builds on the diagram); plain twins are usual.
    int continued = 0;
    for (std::size_t i = 1; i < draft_.twins.size(); ++i) continued += draft_.twins[i].continued;
    const int later = static_cast<int>(draft_.twins.size()) - 1;
    if (continued != 0 && continued != later) {
      draft_.Refuse("twins that mix continued and plain changes");
      return false;
    }
    const bool successive = later > 0 ? continued == later : draft_.twins[0].continued;
    if (!draft_.zeroPosition) entries.push_back(TwinEntry{});  // a) the diagram
    for (TwinLine& twin : draft_.twins) {
      if (twin.changes.empty()) twin.changes.push_back(TwinEntry{});
      for (std::size_t i = 0; i < twin.changes.size(); ++i) {
        twin.changes[i].combined = i + 1 < twin.changes.size();
        // A condition and an option hold for every twin: a twin's
        // stipulation carries the problem's maximum mark, and whitetoplay.
        if (twin.changes[i].kind == TwinChangeType) {
          int& kindAndFlags = twin.changes[i].square1;
          kindAndFlags |= draft_.problem.type.flags & FlagMaximum;
          if (draft_.whiteToPlay) {
            if ((kindAndFlags & 0x07) != KindHelp ||
                (kindAndFlags & (FlagWhiteBegins | FlagSeries)) != 0) {
              draft_.Refuse("whitetoplay on a twin's stipulation other than a helpmate");
              return false;
            }
            kindAndFlags |= FlagWhiteBegins;
          }
        }
        entries.push_back(twin.changes[i]);
      }
    }
    if (entries.size() > static_cast<std::size_t>(MaxTwinEntries)) {
      draft_.Refuse("more than 31 twin changes");
      return false;
    }
    draft_.problem.twins =
        BuildTwinsField(successive, entries.data(), static_cast<int>(entries.size()));
    return true;
  }

  // Keeps the draft or records why it is left out; false when the batch is
  // full and reading ends.
  bool FinishProblem() {
    Draft& d = draft_;
    if (d.reason.empty() && !d.stipulation) d.Refuse("no stipulation");
    if (d.reason.empty() && !d.hasMen) d.Refuse("no men on the board");
    if (d.reason.empty() && d.whiteToPlay) {
      ProblemType& type = d.problem.type;
      if (type.kind != KindHelp || (type.flags & (FlagWhiteBegins | FlagSeries)) != 0) {
        d.Refuse("whitetoplay on a stipulation other than a helpmate");
      } else {
        type.flags |= FlagWhiteBegins;
      }
    }
    if (d.reason.empty()) BuildTwins();
    d.problem.authors = JoinAuthors(d.authors);
    d.problem.source = std::string(FitText(d.problem.source, MaxSourceLength));
    d.problem.award = std::string(FitText(d.problem.award, MaxAwardLength));
    d.problem.comment = std::string(FitText(d.problem.comment, MaxCommentLength));
    if (!d.reason.empty()) {
      batch_.Skip(ProblemName() + ": " + d.reason);
      return true;
    }
    return batch_.Add(d.problem, d.board);
  }

  // "problem 3 (Loyd, Sam)": the problem's place in the file and its first
  // author or title, as the user would look for it.
  std::string ProblemName() const {
    std::string name = "problem " + std::to_string(number_);
    std::string hint = draft_.authors.empty() ? draft_.problem.comment : draft_.authors[0];
    if (!hint.empty()) name += " (" + std::string(FitText(hint, 40)) + ")";
    return name;
  }

  Lexer lexer_;
  ImportBatch& batch_;
  Draft draft_;
  int language_ = 0;
  int number_ = 0;
};

bool ParseMoves(std::string_view digits, int& moves) {
  if (digits.empty() || digits.size() > 3) return false;
  moves = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    moves = moves * 10 + (c - '0');
  }
  return true;
}

}  // namespace

bool ParsePopeyeStipulation(std::string_view text, ProblemType& type) {
  std::string s = LowerCase(text);
  ProblemType parsed;
  parsed.flags = 0;
  std::size_t at = 0;
  if (s.compare(0, 4, "ser-") == 0) {
    parsed.flags |= FlagSeries;
    at = 4;
  }
  parsed.kind = KindDirect;
  if (at < s.size()) {
    switch (s[at]) {
      case 'h':
        parsed.kind = KindHelp;
        ++at;
        break;
      case 's':
        parsed.kind = KindSelf;
        ++at;
        break;
      case 'r':
        parsed.kind = KindReflex;
        ++at;
        break;
      default:
        break;
    }
  }
  if (at >= s.size() || (s[at] != '#' && s[at] != '=')) return false;
  if (s[at] == '=') parsed.flags |= FlagStalemate;
  ++at;
  std::string_view rest = std::string_view(s).substr(at);
  bool half = false;
  if (rest.size() > 2 && rest.substr(rest.size() - 2) == ".5") {
    half = true;
    rest.remove_suffix(2);
  }
  int moves = 0;
  if (!ParseMoves(rest, moves)) return false;
  if (half) {
    // h#n.5: White begins with a half move, so n + 1 white moves in all.
    if (parsed.kind != KindHelp || (parsed.flags & FlagSeries) != 0) return false;
    parsed.flags |= FlagWhiteBegins;
    ++moves;
  }
  if (moves < 1 || moves > 255) return false;
  parsed.moves = static_cast<std::uint8_t>(moves);
  type = parsed;
  return true;
}

FileResult ReadPopeyeProblems(SourceReader& source, ImportBatch& batch) {
  Reader reader(source, batch);
  return reader.Run();
}

ImportResult ImportPopeye(ImportEnv& env) {
  return RunImport(env, ReadPopeyeProblems);
}

}  // namespace kv
