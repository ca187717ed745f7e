// Every key of the configuration file with its default, field size and
// encoding, loaded into and saved from plain records. The records hold the
// values as the program uses them; the callers copy them into their own
// state (solving options, board, current problem) and back.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_file.h"

namespace kv {

// The one section of the program's keys.
inline constexpr std::string_view IniSection = "Kestrovale";

// Field sizes in bytes, the terminating zero included: a value is read as at
// most size - 1 characters.
inline constexpr int RecentFileFieldSize = 260;
inline constexpr int OptionsFieldSize = 19;
inline constexpr int OutputFieldSize = 17;
inline constexpr int PoliceFieldSize = 60;
inline constexpr int SearchFieldSize = 119;
inline constexpr int PositionFieldSize = 72;
// The problem texts are read up to the capacity of the fields they go into,
// so that a problem kept between two runs loses nothing.
inline constexpr int AuthorsFieldSize = 257;
inline constexpr int SourceFieldSize = 129;
inline constexpr int AwardFieldSize = 128;
inline constexpr int CommentFieldSize = 129;
inline constexpr int IniTwinsFieldSize = 128;  // solver/twins.h names the same field for the solver
inline constexpr int ExtraStringFieldSize = 128;
inline constexpr int CustomMenuFieldSize = 200;
inline constexpr int WindowPosFieldSize = 64;
inline constexpr int FileCmdFieldSize = 260;
inline constexpr int AuthorListFieldSize = 127;

// ---- "Options": the 18 solving options, one character 48 + value each.
inline constexpr int StoredOptionCount = 18;
using StoredOptions = std::array<int, StoredOptionCount>;
inline constexpr StoredOptions DefaultStoredOptions = {1, 1, 1, 1, 1, 1, 0, 0, 1,
                                                       1, 1, 0, 1, 0, 1, 0, 0, 0};
// A value shorter than 18 characters takes the defaults for the missing
// positions; a character other than a digit takes the default of its position.
StoredOptions DecodeOptions(std::string_view value);
std::string EncodeOptions(const StoredOptions& options);

// ---- "Output": sixteen display and print settings, 48 + value each.
inline constexpr int OutputCount = 16;
inline constexpr int OutputSquares3D = 2;
inline constexpr int OutputReportColumns = 3;
inline constexpr int OutputReportDiagram = 4;
inline constexpr int OutputDiagramSize = 5;
inline constexpr int OutputClassicPieces = 7;
inline constexpr int OutputDiagramColumns = 8;
inline constexpr int OutputDiagramRows = 9;
inline constexpr int OutputFigurineNotation = 10;
inline constexpr int OutputMarginLeft = 11;
inline constexpr int OutputMarginRight = 12;
inline constexpr int OutputMarginTop = 13;
inline constexpr int OutputMarginBottom = 14;
inline constexpr int OutputDiagramBorder = 15;
inline constexpr std::array<int, OutputCount> DefaultOutput = {1, 2, 1, 4,  1,  -6, 29, 0,
                                                               3, 3, 0, 10, 10, 10, 10, 2};

struct OutputSettings {
  std::array<int, OutputCount> values = DefaultOutput;
  int operator[](int index) const { return values[index]; }
  int& operator[](int index) { return values[index]; }
};

// A value shorter than 16 characters takes the defaults for the missing
// positions; a value outside the range of its position takes its default
// (positions 0, 1 and 6 are carried as read).
OutputSettings DecodeOutput(std::string_view value);
std::string EncodeOutput(const OutputSettings& output);

// ---- "Police": the panes' font, the platform's 60-byte logical-font record.
struct PaneFont {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::array<char, 32> faceName{};  // zero-terminated
};
inline constexpr int PaneFontSize = 60;

std::array<std::uint8_t, PaneFontSize> PaneFontBytes(const PaneFont& font);
PaneFont PaneFontFromBytes(const std::array<std::uint8_t, PaneFontSize>& bytes);
std::string FaceName(const PaneFont& font);
void SetFaceName(PaneFont& font, std::string_view name);  // cut at 31 characters

// Bytes below 0x20 are written plus 0x80; on reading, bytes 0x80..0x9F are
// taken back minus 0x80 (so a record byte of 0x80..0x9F comes back 0x80
// lower: weight 400 comes back 272). An empty value gives a zero record.
std::string EncodePaneFont(const PaneFont& font);
PaneFont DecodePaneFont(std::string_view value);
// The default "Police" value: Arial, height -13, weight 400 as written.
std::string DefaultPaneFontValue();
// The default as read: weight 272.
PaneFont DefaultPaneFont();

// ---- "Position": the 64 squares a8..h1 and the five problem-type bytes.
struct StoredPosition {
  std::array<std::uint8_t, 64> squares{};  // PieceCode per square, a8 first
  std::array<std::uint8_t, 5> type{};      // moves, kind, flags, spare, directLetterFlag
};
// Shorter than 66 characters: an empty board and a zero type. A square with
// a character that is no man is empty; a kind above 3 reads as direct.
StoredPosition DecodePosition(std::string_view value);
std::string EncodePosition(const StoredPosition& position);

// ---- "Recherche": the remembered search criteria.
struct SearchMemory {
  std::array<int, 22> criteria{};
  std::array<int, 64> matrix{};
  std::string text;  // at most 32 characters
};
// Shorter than 86 characters: all criteria and the matrix 0, no text.
SearchMemory DecodeSearchMemory(std::string_view value);
std::string EncodeSearchMemory(const SearchMemory& memory);

// ---- "WindowPos": the outer rectangle of the main window.
struct WindowRect {
  int left = -4;
  int top = -4;
  int right = 644;
  int bottom = 484;
  bool operator==(const WindowRect&) const = default;
};
// Four numbers separated by commas; false when there are fewer than four or
// the rectangle is empty.
bool ParseWindowPos(std::string_view value, WindowRect& rect);
std::string FormatWindowPos(const WindowRect& rect);
// The rectangle if it overlaps one of the screens, else the default (the
// screens given in the same coordinates; no screens keeps the rectangle).
WindowRect PlaceOnScreens(const WindowRect& rect, const std::vector<WindowRect>& screens);

// ---- "File%d": a recent file, "path n°number".
std::string FormatRecentFile(std::string_view path, int number);
// Splits an entry into the path and the 1-based number after " n°" (0 when
// the entry has none).
void SplitRecentFile(std::string_view entry, std::string& path, int& number);

// ---- The keys read and written together at main-window creation and
// destruction, in the order the program reads them.
struct Settings {
  std::array<std::string, 4> recentFiles;
  StoredOptions options = DefaultStoredOptions;
  OutputSettings output;
  PaneFont paneFont = DefaultPaneFont();
  SearchMemory search;
  StoredPosition position;
  std::string authors;
  std::string source;
  std::string award;
  std::string comment;
  std::string twins;  // the twins field as stored (entry bytes + 0x20)
};
void LoadSettings(const IniDocument& document, Settings& settings);
void SaveSettings(IniDocument& document, const Settings& settings);

using ExtraStrings = std::array<std::string, 5>;
ExtraStrings LoadExtraStrings(const IniDocument& document);
void SaveExtraStrings(IniDocument& document, const ExtraStrings& extra);

// "Language" as stored (default 256); the strings library corrects it.
int LoadLanguageValue(const IniDocument& document);
void SaveLanguageValue(IniDocument& document, int value);

std::string LoadCustomMenu(const IniDocument& document);  // default "polish.str"
void SaveCustomMenu(IniDocument& document, std::string_view path);

WindowRect LoadWindowPos(const IniDocument& document);  // the default when unusable
void SaveWindowPos(IniDocument& document, const WindowRect& rect);

std::string LoadFileCmd(const IniDocument& document);
void SaveFileCmd(IniDocument& document, std::string_view path);

std::string LoadAuthorListFile(const IniDocument& document);  // default "auteurs.txt"
void SaveAuthorListFile(IniDocument& document, std::string_view path);

// Reads the file, lets change alter it and writes it back safely, keeping
// whatever other keys the file holds (another instance may have written
// some). False when the file exists but cannot be read (or is no regular
// file), or cannot be written; message then receives the text for the user.
bool UpdateIniFile(const std::string& path, const std::function<void(IniDocument&)>& change,
                   std::string* message = nullptr);

}  // namespace kv
