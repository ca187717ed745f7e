#include "config/settings.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

IniDocument RoundTrip(const IniDocument& document) {
  return ParseIni(SerializeIni(document));
}

TEST(Settings, FirstRunWithoutAFileGivesTheDefaults) {
  const IniDocument empty;
  Settings settings;
  LoadSettings(empty, settings);
  EXPECT_EQ(settings.options, DefaultStoredOptions);
  EXPECT_EQ(settings.output.values, DefaultOutput);
  EXPECT_EQ(settings.position.squares, (std::array<std::uint8_t, 64>{}));
  EXPECT_EQ(settings.position.type, (std::array<std::uint8_t, 5>{}));
  EXPECT_EQ(settings.recentFiles[0], "");
  EXPECT_EQ(settings.paneFont.height, -13);
  EXPECT_EQ(settings.paneFont.weight, 272);  // the escaped 400 comes back 272
  EXPECT_EQ(settings.paneFont.outPrecision, 4);
  EXPECT_EQ(settings.paneFont.clipPrecision, 2);
  EXPECT_EQ(settings.paneFont.quality, 1);
  EXPECT_EQ(settings.paneFont.pitchAndFamily, 0x22);
  EXPECT_EQ(FaceName(settings.paneFont), "Arial");
  EXPECT_EQ(LoadLanguageValue(empty), 256);
  EXPECT_EQ(LoadCustomMenu(empty), "polish.str");
  EXPECT_EQ(LoadAuthorListFile(empty), "auteurs.txt");
  EXPECT_EQ(LoadWindowPos(empty), (WindowRect{-4, -4, 644, 484}));
  EXPECT_EQ(LoadFileCmd(empty), "");
  EXPECT_EQ(EncodeOptions(DefaultStoredOptions), "111111001110101000");
  EXPECT_EQ(EncodeOutput(OutputSettings{}), "12141*M0330::::2");
}

TEST(Settings, PaneFontRoundTrips) {
  PaneFont font;
  font.height = -16;
  font.weight = 400;
  font.italic = 1;
  font.charSet = 2;
  font.pitchAndFamily = 0x22;
  SetFaceName(font, "A Thirty-One Character Face Nam");  // 31 characters
  ASSERT_EQ(FaceName(font).size(), 31u);
  IniDocument document;
  Settings settings;
  settings.paneFont = font;
  SaveSettings(document, settings);
  const std::string stored = GetProfileString(document, IniSection, "Police", "", 200);
  EXPECT_EQ(stored.size(), 60u);
  EXPECT_EQ(stored.find('\0'), std::string::npos);
  for (char c : stored) EXPECT_GE(static_cast<unsigned char>(c), 0x20);

  Settings read;
  LoadSettings(RoundTrip(document), read);
  EXPECT_EQ(read.paneFont.height, -16);
  EXPECT_EQ(read.paneFont.weight, 272);
  EXPECT_EQ(read.paneFont.italic, 1);
  EXPECT_EQ(read.paneFont.charSet, 2);
  EXPECT_EQ(FaceName(read.paneFont), "A Thirty-One Character Face Nam");
  // Longer names are cut to 31 characters.
  SetFaceName(font, std::string(40, 'x'));
  EXPECT_EQ(FaceName(font), std::string(31, 'x'));
}

TEST(Settings, PaneFontWithBlanksAtTheEndsSurvives) {
  // Height 32 puts a blank first; the writer protects it from trimming.
  PaneFont font = DefaultPaneFont();
  font.height = 32;
  IniDocument document;
  WriteProfileString(document, IniSection, "Police", EncodePaneFont(font));
  const PaneFont read = DecodePaneFont(
      GetProfileString(RoundTrip(document), IniSection, "Police", "", PoliceFieldSize));
  EXPECT_EQ(read.height, 32);
  EXPECT_EQ(FaceName(read), "Arial");
}

TEST(Settings, PaneFontEmptyValueIsAZeroRecord) {
  const IniDocument document = ParseIni("[Kestrovale]\nPolice=\n");
  Settings settings;
  LoadSettings(document, settings);
  EXPECT_EQ(settings.paneFont.height, 0);
  EXPECT_EQ(FaceName(settings.paneFont), "");
}

StoredPosition SamplePosition() {
  StoredPosition position;
  position.squares[4] = 10;  // black king e8
  position.squares[60] = 6;  // white king e1
  position.squares[0] = 15;  // black rook a8
  position.squares[63] = 1;  // white rook h1
  position.type = {3, 1, 0x18, 0, 1};
  return position;
}

TEST(Settings, PositionRoundTripAndShortValues) {
  const std::string value = EncodePosition(SamplePosition());
  ASSERT_EQ(value.size(), 69u);
  EXPECT_EQ(value.substr(0, 8), "?000:000");
  EXPECT_EQ(value.substr(64), "31H01");
  const StoredPosition read = DecodePosition(value);
  EXPECT_EQ(read.squares, SamplePosition().squares);
  EXPECT_EQ(read.type, SamplePosition().type);

  // 66 characters: flags, spare and letter flag missing count as 0.
  const StoredPosition noFlags = DecodePosition(value.substr(0, 66));
  EXPECT_EQ(noFlags.squares, SamplePosition().squares);
  EXPECT_EQ(noFlags.type, (std::array<std::uint8_t, 5>{3, 1, 0, 0, 0}));
  // 10 characters: an empty board.
  const StoredPosition empty = DecodePosition(value.substr(0, 10));
  EXPECT_EQ(empty.squares, (std::array<std::uint8_t, 64>{}));
  EXPECT_EQ(empty.type[0], 0);
}

TEST(Settings, PositionWithBadCharactersNeverGivesBadCodes) {
  std::string value(64, '0');
  value[0] = '8';  // the border code
  value[1] = '~';
  value[2] = '!';
  value +=
      "2"
      "Z"
      "000";  // kind 42
  const StoredPosition read = DecodePosition(value);
  EXPECT_EQ(read.squares[0], 0);
  EXPECT_EQ(read.squares[1], 0);
  EXPECT_EQ(read.squares[2], 0);
  EXPECT_EQ(read.type[0], 2);
  EXPECT_EQ(read.type[1], 0);
  // A move count above the printable range cannot become a zero byte.
  StoredPosition big;
  big.type[0] = 255;
  EXPECT_EQ(EncodePosition(big).find('\0'), std::string::npos);
}

TEST(Settings, ShortOptionsAndOutputTakeDefaults) {
  EXPECT_EQ(DecodeOptions("00"),
            (StoredOptions{0, 0, 1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 0, 1, 0, 0, 0}));
  EXPECT_EQ(DecodeOptions("0x9"),
            (StoredOptions{0, 1, 9, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 0, 1, 0, 0, 0}));
  const OutputSettings output = DecodeOutput("12040");
  EXPECT_EQ(output[OutputSquares3D], 0);
  EXPECT_EQ(output[OutputReportColumns], 4);
  EXPECT_EQ(output[OutputReportDiagram], 0);
  EXPECT_EQ(output[OutputDiagramSize], -6);
  EXPECT_EQ(output[OutputDiagramBorder], 2);
  // Out of range: the diagram border 9 and margins above 200 take defaults.
  const OutputSettings bad = DecodeOutput("12141*M0330\xFF:::9");
  EXPECT_EQ(bad[OutputMarginLeft], 10);
  EXPECT_EQ(bad[OutputDiagramBorder], 2);
  OutputSettings changed;
  changed[OutputDiagramSize] = -20;
  changed[OutputMarginBottom] = 200;
  changed[OutputFigurineNotation] = 1;
  EXPECT_EQ(DecodeOutput(EncodeOutput(changed)).values, changed.values);
}

TEST(Settings, EveryKeyRoundTrips) {
  Settings settings;
  settings.recentFiles = {
      "/home/u/a.kvl n\xB0"
      "12",
      "/home/u/b.kvl n\xB0"
      "1",
      "", "c.pgn"};
  settings.options = {0, 3, 1, 1, 0, 1, 1, 2, 0, 1, 0, 1, 0, 1, 0, 1, 2, 1};
  settings.output[OutputDiagramColumns] = 8;
  settings.search.criteria[1] = 32;
  settings.search.criteria[19] = 15;
  settings.search.matrix[10] = 13;
  settings.search.text = "Loyd\\\\\\";
  settings.position = SamplePosition();
  settings.authors = std::string(200, 'a');  // authors hold up to 256 characters
  settings.source = "The Problemist";
  settings.award = "1\xB0 Prize";
  settings.comment = "two  blanks";
  settings.twins =
      "\x7F"
      "!\"#$";
  IniDocument document = ParseIni("[Kestrovale]\r\nUnknown=kept\r\n[Other]\r\nA=1\r\n");
  SaveSettings(document, settings);
  SaveExtraStrings(document, {"Dedication", "", "Second source", "", "V source"});
  SaveLanguageValue(document, 512);
  SaveCustomMenu(document, "/home/u/polish.str");
  SaveWindowPos(document, {10, 20, 810, 620});
  SaveFileCmd(document,
              "/tmp/x.kvl n\xB0"
              "3");
  SaveAuthorListFile(document, "authors.txt");

  const IniDocument read = RoundTrip(document);
  Settings back;
  LoadSettings(read, back);
  EXPECT_EQ(back.recentFiles, settings.recentFiles);
  EXPECT_EQ(back.options, settings.options);
  EXPECT_EQ(back.output.values, settings.output.values);
  EXPECT_EQ(back.search.criteria, settings.search.criteria);
  EXPECT_EQ(back.search.matrix, settings.search.matrix);
  EXPECT_EQ(back.search.text, settings.search.text);
  EXPECT_EQ(back.position.squares, settings.position.squares);
  EXPECT_EQ(back.authors, settings.authors);
  EXPECT_EQ(back.source, settings.source);
  EXPECT_EQ(back.award, settings.award);
  EXPECT_EQ(back.comment, settings.comment);
  EXPECT_EQ(back.twins, settings.twins);
  EXPECT_EQ(LoadExtraStrings(read)[2], "Second source");
  EXPECT_EQ(LoadLanguageValue(read), 512);
  EXPECT_EQ(LoadCustomMenu(read), "/home/u/polish.str");
  EXPECT_EQ(LoadWindowPos(read), (WindowRect{10, 20, 810, 620}));
  EXPECT_EQ(LoadFileCmd(read),
            "/tmp/x.kvl n\xB0"
            "3");
  EXPECT_EQ(LoadAuthorListFile(read), "authors.txt");
  EXPECT_EQ(GetProfileString(read, "Kestrovale", "Unknown", "", 100), "kept");
  EXPECT_EQ(GetProfileString(read, "Other", "A", "", 100), "1");
}

TEST(Settings, TwinsEndingInBlankBytesSurvive) {
  // Entry bytes are value + 0x20, so a zero value is a blank: a twins field
  // may well end in blanks, which a profile reader would trim.
  Settings settings;
  settings.twins =
      "\x7F"
      "  ! ";
  IniDocument document;
  SaveSettings(document, settings);
  Settings back;
  LoadSettings(RoundTrip(document), back);
  EXPECT_EQ(back.twins, settings.twins);
}

TEST(Settings, TextsAreCutAtTheirFieldSizes) {
  IniDocument document;
  WriteProfileString(document, IniSection, "Auteur", std::string(300, 'a'));
  WriteProfileString(document, IniSection, "Source", std::string(300, 's'));
  WriteProfileString(document, IniSection, "Jumeaux", std::string(300, 'j'));
  WriteProfileString(document, IniSection, "PlusInfo4", std::string(300, 'p'));
  WriteProfileString(document, IniSection, "Options", std::string(30, '2'));
  Settings settings;
  LoadSettings(document, settings);
  EXPECT_EQ(settings.authors.size(), 256u);
  EXPECT_EQ(settings.source.size(), 128u);
  EXPECT_EQ(settings.twins.size(), 127u);
  EXPECT_EQ(LoadExtraStrings(document)[4].size(), 127u);
  EXPECT_EQ(settings.options[17], 2);
}

TEST(Settings, WindowPosition) {
  WindowRect rect;
  EXPECT_TRUE(ParseWindowPos("-4,-4,644,484", rect));
  EXPECT_EQ(rect, (WindowRect{-4, -4, 644, 484}));
  EXPECT_TRUE(ParseWindowPos(" 5, 6,105 ,206", rect));
  EXPECT_EQ(rect, (WindowRect{5, 6, 105, 206}));
  EXPECT_FALSE(ParseWindowPos("1,2,3", rect));           // fewer than four numbers
  EXPECT_FALSE(ParseWindowPos("1,2,,4", rect));          // a missing number
  EXPECT_FALSE(ParseWindowPos("100,100,50,200", rect));  // empty rectangle
  EXPECT_EQ(LoadWindowPos(ParseIni("[Kestrovale]\nWindowPos=1,2\n")), WindowRect{});
  EXPECT_EQ(FormatWindowPos({-4, -4, 644, 484}), "-4,-4,644,484");

  const std::vector<WindowRect> screens = {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
  EXPECT_EQ(PlaceOnScreens({2000, 10, 2600, 500}, screens), (WindowRect{2000, 10, 2600, 500}));
  EXPECT_EQ(PlaceOnScreens({5000, 10, 5600, 500}, screens), WindowRect{});
  EXPECT_EQ(PlaceOnScreens({-700, 10, -100, 500}, screens), WindowRect{});
}

TEST(Settings, RecentFileEntries) {
  EXPECT_EQ(FormatRecentFile("/p/a.kvl", 12),
            "/p/a.kvl n\xB0"
            "12");
  std::string path;
  int number = -1;
  SplitRecentFile(
      "/p/a.kvl n\xB0"
      "12",
      path, number);
  EXPECT_EQ(path, "/p/a.kvl");
  EXPECT_EQ(number, 12);
  SplitRecentFile("/p/b.kvl", path, number);
  EXPECT_EQ(path, "/p/b.kvl");
  EXPECT_EQ(number, 0);
}

}  // namespace
}  // namespace kv
