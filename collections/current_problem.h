// The problem the program shows and edits: its type, its texts, its twins and
// its solution text, with the stored board and the info-modified flag that
// together tell whether it has changed since it was loaded or saved.
//
// Texts are Windows-1252 bytes. Each field has the capacity of the original
// fixed-size field (the terminating NUL counted); the Max*Length constants
// below are the number of characters a field holds. Every reader and writer of
// the collection file cuts a text at its field's length, without a message.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/position.h"
#include "solver/problem_type.h"

namespace kv {

inline constexpr int AuthorsCapacity = 257;
inline constexpr int SourceCapacity = 129;
inline constexpr int AwardCapacity = 129;
inline constexpr int CommentCapacity = 129;
inline constexpr int SolutionTextCapacity = 60002;
inline constexpr int TwinsCapacity = 128;
inline constexpr int ExtraStringCount = 5;
inline constexpr int ExtraStringCapacity = 128;

inline constexpr int MaxAuthorsLength = AuthorsCapacity - 1;
inline constexpr int MaxSourceLength = SourceCapacity - 1;
inline constexpr int MaxAwardLength = AwardCapacity - 1;
inline constexpr int MaxCommentLength = CommentCapacity - 1;
inline constexpr int MaxTwinsLength = TwinsCapacity - 1;
inline constexpr int MaxExtraStringLength = ExtraStringCapacity - 1;
// The award the information dialog builds (ordinal prefix included).
inline constexpr int MaxDialogAwardLength = 127;

// The five extra strings, in slot order.
inline constexpr int ExtraDedication = 0;     // "\de", dedicated to
inline constexpr int ExtraAfter = 1;          // "\af", after a model by
inline constexpr int ExtraSecondSource = 2;   // "\s2", also published in
inline constexpr int ExtraVersionAuthor = 3;  // "\av", author of a version
inline constexpr int ExtraVersionSource = 4;  // "\sv", source of a version
inline constexpr std::array<std::string_view, ExtraStringCount> ExtraStringTags = {
    "\\de", "\\af", "\\s2", "\\av", "\\sv"};

// The 64 squares as a collection record stores them: a8 .. h8, a7 .. h1, each
// the PieceCode plus 0x20.
inline constexpr int PositionByteCount = 64;
inline constexpr std::uint8_t PositionByteBias = 0x20;
using PositionBytes = std::array<std::uint8_t, PositionByteCount>;

// The SquareIndex of the n-th stored square (0 = a8, 63 = h1).
constexpr SquareIndex StoredSquare(int n) {
  return FirstSquare + 10 * (n / 8) + n % 8;
}

constexpr PositionBytes EmptyPositionBytes() {
  PositionBytes bytes{};
  for (std::uint8_t& b : bytes) b = PositionByteBias;
  return bytes;
}

struct CurrentProblem {
  ProblemType type{};
  std::string authors;  // "Surname, Given names;Surname, Given names"
  std::string source;
  std::string award;  // optional "%d° " ordinal prefix, then the award text
  std::string comment;
  // The solution-text buffer: what the record holds in slot 4. A solve leaves
  // it empty, so that saving after a solve keeps the stored solution.
  std::string solutionText;
  // The twins field as it is stored: mode byte and 4-byte entries, every byte
  // printable; empty means no twins (the 128-byte field all zero).
  std::string twins;
  std::array<std::string, ExtraStringCount> extraStrings;
  // The position bytes as last loaded or saved.
  PositionBytes storedBoard = EmptyPositionBytes();
  bool infoModified = false;
  bool loaded = false;  // a problem has been loaded from a file
};

PositionBytes BoardToPositionBytes(const Board& board);
// Writes the 64 playing squares; the border cells are left as they are.
void PositionBytesToBoard(const PositionBytes& bytes, Board& board);

// True when the position differs from the stored board or the information
// was edited: the program then offers to save before replacing the problem.
bool IsProblemModified(const CurrentProblem& problem, const Board& board);

// The clear-board command's part of the problem: no texts, no twins, no
// extra strings, a direct mate in 2. The solution text and the stored board
// are kept (the board window clears the Board itself).
void ClearProblemInformation(CurrentProblem& problem);

// The first `maxLength` bytes of `text`, stopping at a NUL.
std::string_view FitText(std::string_view text, std::size_t maxLength);

// An extra string as the field accepts it: a backslash would cut the string
// when the record is read back (it starts the next tag), so it becomes "/";
// at most 127 characters.
std::string CleanExtraString(std::string_view text);
// Slot 6: tag and text of every extra string that is not empty, in order.
std::string JoinExtraStrings(const std::array<std::string, ExtraStringCount>& extra);
// The five extra strings of a slot-6 text: for each tag, the text after its
// first occurrence up to the end, the next backslash or 127 characters.
std::array<std::string, ExtraStringCount> SplitExtraStrings(std::string_view slot6);

// The award split as the information dialog shows it: the ordinal at its
// start (0 when none) and the text after the "%d° " prefix.
struct AwardParts {
  int ordinal = 0;
  std::string text;
};
AwardParts SplitAward(std::string_view award);
// The award rebuilt from the dialog: "%d° " when the ordinal is not 0, then
// the text, at most 127 characters in all.
std::string BuildAward(int ordinal, std::string_view text);

// The authors string cut at every ";" (one line per author in the dialog).
std::vector<std::string> SplitAuthors(std::string_view authors);
// The authors string rebuilt from the dialog's lines: lines are joined by ";"
// while the total stays within 256 characters.
std::string JoinAuthors(const std::vector<std::string>& lines);
// The authors as the information pane shows them: "Surname, Given" becomes
// "Given Surname", authors joined by ", ", a CR LF before an author whose line
// would grow past 32 characters; the text stops growing past 256 characters.
std::string AuthorsDisplayText(std::string_view authors);

}  // namespace kv
