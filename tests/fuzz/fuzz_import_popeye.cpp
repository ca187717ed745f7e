// libFuzzer harness for the solver input importer: any bytes must give
// problems or a clear failure, never a read out of bounds or a hang. Every
// problem kept must fit its fields and hold a twins field the twin code reads
// (at most 31 printable entries), and every problem kept must be exported
// again and read back as the same problem.
//
// The same bytes also write a problem whose men this harness knows: a pieces
// command in one of the three languages, its colour words whole or shortened
// as far as they stay unique among the colours, in any case, its men on one
// to three squares each, split over lines at random. The men are counted
// here, square by square, without the importer: a problem that names each
// square once and each king once must be kept with exactly those men, and
// any other must be left out, never half-read.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "collections/export_popeye.h"
#include "collections/import_popeye.h"
#include "collections/kvl_format.h"
#include "solver/twins.h"

namespace {

// The problem the harness wrote, while it is being checked.
const std::string* generatedText = nullptr;

void CheckAt(bool condition, int line) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_import_popeye: check on line %d failed\n", line);
  if (generatedText) std::fprintf(stderr, "on the problem:\n%s", generatedText->c_str());
  std::abort();
}
#define Check(condition) CheckAt((condition), __LINE__)

bool Fits(const std::string& text, int maxLength) {
  return text.size() <= static_cast<std::size_t>(maxLength) && text.find('\0') == std::string::npos;
}

void CheckProblem(const kv::ImportedProblem& imported) {
  const kv::CurrentProblem& p = imported.problem;
  Check(Fits(p.authors, kv::MaxAuthorsLength));
  Check(Fits(p.source, kv::MaxSourceLength));
  Check(Fits(p.award, kv::MaxAwardLength));
  Check(Fits(p.comment, kv::MaxCommentLength));
  Check(Fits(p.twins, kv::MaxTwinsLength));
  for (const std::string& extra : p.extraStrings) Check(Fits(extra, kv::MaxExtraStringLength));
  for (char c : p.twins) Check(static_cast<unsigned char>(c) >= 0x20);
  Check(p.type.kind <= kv::KindReflex && p.type.moves >= 1);
  for (const std::uint8_t byte : imported.position) Check(kv::IsValidPositionByte(byte));
}

// The export of a problem read back gives its board, stipulation and twins.
void CheckRoundTrip(const kv::ImportedProblem& imported) {
  kv::Board board = kv::EmptyImportBoard();
  kv::PositionBytesToBoard(imported.position, board);
  std::string text;
  std::string reason;
  Check(kv::PopeyeProblemText(imported.problem, board, text, reason));
  const std::string file =
      std::string(kv::PopeyeFirstProblem) + text + std::string(kv::PopeyeEndOfProblems);
  kv::SourceReader source;
  source.OpenBytes({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
  kv::ImportBatch batch;
  Check(kv::ReadPopeyeProblems(source, batch).ok());
  Check(batch.count() == 1);
  const kv::ImportedProblem& back = batch.problems()[0];
  Check(back.position == imported.position);
  Check(back.problem.type.kind == imported.problem.type.kind);
  Check(back.problem.type.flags == imported.problem.type.flags);
  Check(back.problem.type.moves == imported.problem.type.moves);
  Check(kv::TwinCount(back.problem.twins) <= kv::TwinCount(imported.problem.twins));
}

// The fuzz bytes, one at a time; zeros after their end.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  unsigned Next() { return at_ < size_ ? data_[at_++] : 0u; }
  bool Left() const { return at_ < size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

struct Language {
  std::string_view begin;
  std::string_view stipulation;
  std::string_view pieces;
  std::string_view end;
  std::array<std::string_view, 2> colours;  // white, black
  std::array<std::size_t, 2> shortest;      // the shortest prefix no other colour has
  std::string_view men;                     // king, queen, rook, bishop, knight, pawn
};

constexpr std::array<Language, 3> Languages = {{
    {"beginproblem", "stipulation", "pieces", "endproblem", {"white", "black"}, {1, 1}, "KQRBSP"},
    {"debutprobleme", "enonce", "pieces", "finprobleme", {"blanc", "noir"}, {1, 2}, "RDTFCP"},
    {"anfangproblem", "forderung", "steine", "endeproblem", {"weiss", "schwarz"}, {1, 1}, "KDTLSB"},
}};

// The codes of king, queen, rook, bishop, knight and pawn, white; black is
// 16 minus white.
constexpr std::array<int, 6> WhiteCodes = {kv::WhiteKing,   kv::WhiteQueen,  kv::WhiteRook,
                                           kv::WhiteBishop, kv::WhiteKnight, kv::WhitePawn};

void AppendRandomCase(std::string& out, std::string_view word, Bytes& bytes) {
  const unsigned mask = bytes.Next();
  for (std::size_t i = 0; i < word.size(); ++i) {
    const char c = word[i];
    out += ((mask >> (i % 8)) & 1u) && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
}

// Writes the problem and checks what the importer makes of it against the
// men counted here.
void CheckKnownMen(const std::uint8_t* data, std::size_t size) {
  Bytes bytes(data, size);
  const Language& language = Languages[bytes.Next() % Languages.size()];
  std::string text = std::string(language.begin) + "\n" + std::string(language.stipulation) +
                     " #2\n" + std::string(language.pieces);
  std::array<int, kv::PositionByteCount> expected{};  // 0: empty
  bool wellFormed = true;
  int colour = -1;
  std::array<int, 2> kings{};
  int tokens = 0;
  while (bytes.Left() && tokens < 64) {
    ++tokens;
    text += (bytes.Next() % 4 == 0) ? "\n" : " ";
    const unsigned what = bytes.Next();
    if (what % 4 == 0) {
      colour = static_cast<int>((what >> 2) & 1u);
      const std::string_view word = language.colours[std::size_t(colour)];
      const std::size_t shortest = language.shortest[std::size_t(colour)];
      const std::size_t length = shortest + bytes.Next() % (word.size() - shortest + 1);
      AppendRandomCase(text, word.substr(0, length), bytes);
      continue;
    }
    const std::size_t man = (what >> 2) % WhiteCodes.size();
    text += language.men[man];
    const unsigned squares = 1 + bytes.Next() % 3;
    for (unsigned k = 0; k < squares; ++k) {
      const unsigned n = bytes.Next() % 64;  // 0 = a8 .. 63 = h1
      text += static_cast<char>('a' + n % 8);
      text += static_cast<char>('8' - n / 8);
      if (colour < 0) {
        wellFormed = false;
        continue;
      }
      const int code = colour == 0 ? WhiteCodes[man] : 16 - WhiteCodes[man];
      if (expected[n] != 0) wellFormed = false;
      expected[n] = code;
      if (man == 0 && ++kings[std::size_t(colour)] > 1) wellFormed = false;
    }
  }
  text += "\n" + std::string(language.end) + "\n";
  bool anyMan = false;
  for (const int code : expected) anyMan = anyMan || code != 0;
  wellFormed = wellFormed && anyMan;

  // Named on stderr, so that a failure shows the problem it was about.
  generatedText = &text;
  kv::SourceReader source;
  source.OpenBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  kv::ImportBatch batch;
  Check(kv::ReadPopeyeProblems(source, batch).ok());
  Check(batch.count() + batch.skipped() == 1);
  Check(batch.count() == (wellFormed ? 1 : 0));
  if (batch.count() == 0) return;
  const kv::PositionBytes& position = batch.problems()[0].position;
  for (int n = 0; n < kv::PositionByteCount; ++n) {
    Check(position[std::size_t(n)] == expected[std::size_t(n)] + kv::PositionByteBias);
  }
  generatedText = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckKnownMen(data, size);
  kv::SourceReader source;
  source.OpenBytes({data, size});
  kv::ImportBatch batch;
  const kv::FileResult result = kv::ReadPopeyeProblems(source, batch);
  Check(result.ok() || !result.detail.empty());
  Check(batch.count() <= kv::MaxImportedProblems);
  Check(static_cast<int>(batch.skipNotes().size()) <= kv::MaxSkipNotes);
  for (const kv::ImportedProblem& imported : batch.problems()) {
    CheckProblem(imported);
    CheckRoundTrip(imported);
  }
  return 0;
}
