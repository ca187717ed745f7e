// The control ids of the dialogs, named once for the dialog code and for
// the translation tables (strings/dialog_translation.cpp) that put each
// language's texts on them. The ids are those of the French layouts.
#pragma once

namespace kv {

// Additional information: a label and a field per extra string, in
// extra-string order (dedicated to, after, second source, in, version).
namespace additional_information_control {
inline constexpr int FirstExtraLabel = 91;
inline constexpr int FirstExtraField = 101;
}  // namespace additional_information_control

// Biographical selection.
namespace biographical_selection_control {
inline constexpr int BirthGroup = 91;
inline constexpr int DeathGroup = 92;
inline constexpr int CountryLabel = 93;
inline constexpr int BirthFromEdit = 94;
inline constexpr int BirthToEdit = 95;
inline constexpr int DeathFromEdit = 96;
inline constexpr int DeathToEdit = 97;
inline constexpr int CountryField = 98;
inline constexpr int ResultList = 99;
inline constexpr int TotalLabel = 100;
inline constexpr int UpdateButton = 107;
inline constexpr int ListButton = 110;
inline constexpr int InitializeButton = 180;
}  // namespace biographical_selection_control

// Display options.
namespace display_options_control {
inline constexpr int Squares3DBox = 103;
inline constexpr int NotationBox = 104;
inline constexpr int OtherPiecesBox = 105;
inline constexpr int FontButton = 106;
}  // namespace display_options_control

// Duplicate information: a check box and a text per field, in field order
// (author, source, award, comment, second source).
namespace duplicate_info_control {
inline constexpr int StartLabel = 91;
inline constexpr int FirstFieldBox = 101;
inline constexpr int FirstFieldText = 111;
inline constexpr int StartNumberEdit = 121;
}  // namespace duplicate_info_control

// Information (the additional information's controls stay beside it).
namespace information_control {
inline constexpr int AuthorEntryField = 110;
inline constexpr int AuthorListBox = 111;
inline constexpr int SourceField = 112;
inline constexpr int AwardOrdinalEdit = 113;
inline constexpr int AwardField = 114;
inline constexpr int CommentField = 115;
inline constexpr int AuthorLabel = 116;
inline constexpr int InformationButton = 119;
inline constexpr int MoreButton = 120;
inline constexpr int AddAuthorButton = 200;
inline constexpr int RemoveAuthorButton = 201;
}  // namespace information_control

// Organize.
namespace organize_control {
inline constexpr int CompactButton = 4;
inline constexpr int FileCaption = 129;
inline constexpr int PositionCaption = 130;
inline constexpr int SizeCaption = 131;
inline constexpr int InsertRadio = 211;
inline constexpr int DeleteRadio = 212;
inline constexpr int InsertCountEdit = 221;
inline constexpr int DeleteCountEdit = 222;
}  // namespace organize_control

// Position search.
namespace position_search_control {
inline constexpr int MenGroup = 91;
inline constexpr int AmountLabel = 92;
inline constexpr int WhiteLabel = 93;
inline constexpr int BlackLabel = 94;
inline constexpr int MatrixGroup = 95;
inline constexpr int ScopeGroup = 96;
inline constexpr int AmountEdit = 101;
inline constexpr int WhiteEdit = 102;
inline constexpr int BlackEdit = 103;
inline constexpr int AristocraticBox = 106;
inline constexpr int TwinsBox = 107;
inline constexpr int AmountMode = 111;
inline constexpr int WhiteMode = 112;
inline constexpr int BlackMode = 113;
inline constexpr int IdentityBox = 119;
inline constexpr int GapBox = 120;
inline constexpr int SymmetryBox = 121;
inline constexpr int RotationBox = 122;
inline constexpr int FileRadio = 130;
inline constexpr int DirectoryRadio = 131;
inline constexpr int DiskRadio = 132;
inline constexpr int InformationGroup = 222;
inline constexpr int InformationText = 223;
inline constexpr int TypeGroup = 333;
inline constexpr int TypeText = 334;
inline constexpr int ActionsButton = 1000;
}  // namespace position_search_control

// Print options: the diagrams', report's and margins' pages.
namespace print_options_control {
inline constexpr int OkButton = 1;
inline constexpr int TextColumnsLabel = 87;
inline constexpr int DiagramsPerPageLabel = 89;
inline constexpr int LeftMarginLabel = 92;
inline constexpr int RightMarginLabel = 93;
inline constexpr int TopMarginLabel = 94;
inline constexpr int BottomMarginLabel = 95;
inline constexpr int MarginsLabel = 96;
inline constexpr int DiagramSizeLabel = 97;
inline constexpr int RowsLabel = 98;
inline constexpr int ColumnsLabel = 99;
inline constexpr int DiagramBorderLabel = 100;
inline constexpr int DiagramSizeEdit = 101;
inline constexpr int DiagramSizePercentLabel = 102;
inline constexpr int ReportColumnsEdit = 111;
inline constexpr int ReportDiagramBox = 112;
inline constexpr int ColumnsEdit = 113;
inline constexpr int RowsEdit = 114;
inline constexpr int BorderBox = 115;
inline constexpr int LeftMarginEdit = 121;
inline constexpr int RightMarginEdit = 122;
inline constexpr int TopMarginEdit = 123;
inline constexpr int BottomMarginEdit = 124;
inline constexpr int PreviewButton = 130;
inline constexpr int PrinterButton = 131;
}  // namespace print_options_control

// Print preview.
namespace print_preview_control {
inline constexpr int CloseButton = 2;
inline constexpr int PageEdit = 102;
inline constexpr int GuidesBox = 104;
inline constexpr int SetupButton = 1001;
inline constexpr int NextButton = 1002;
inline constexpr int PreviousButton = 1003;
inline constexpr int ZoomBox = 1004;
inline constexpr int PrintButton = 1005;
inline constexpr int ExportButton = 2000;
}  // namespace print_preview_control

// Problem list.
namespace problem_list_control {
inline constexpr int CloseButton = 1;
inline constexpr int ProblemsBox = 101;
inline constexpr int UpButton = 102;
inline constexpr int DownButton = 103;
inline constexpr int ActionsButton = 1000;
}  // namespace problem_list_control

// Problem type.
namespace problem_type_control {
inline constexpr int KindGroup = 91;
inline constexpr int MovesUnitLabel = 92;
inline constexpr int GoalGroup = 93;
inline constexpr int FirstKindRadio = 170;  // + kind index: direct, help, self, reflex
inline constexpr int DirectRadio = 170;
inline constexpr int HelpRadio = 171;
inline constexpr int SelfRadio = 172;
inline constexpr int ReflexRadio = 173;
inline constexpr int MovesLabel = 174;
inline constexpr int SerialBox = 175;
inline constexpr int MaximumBox = 176;
inline constexpr int MovesEdit = 177;
inline constexpr int WhiteBeginsBox = 178;
inline constexpr int MateRadio = 180;  // + goal index: mate, stalemate
inline constexpr int StalemateRadio = 181;
inline constexpr int MovesUpDown = 1077;
inline constexpr int InitialiseButton = 3;  // in the place of Help
}  // namespace problem_type_control

// Save a position.
namespace save_position_control {
inline constexpr int FileCaption = 91;
inline constexpr int NumberCaption = 92;
inline constexpr int SizeCaption = 93;
inline constexpr int NumberEdit = 101;
}  // namespace save_position_control

// Test a move.
namespace test_move_control {
inline constexpr int MovesBox = 110;
inline constexpr int TestButton = 122;
}  // namespace test_move_control

// Search for information: a label and a field per part of the text.
namespace search_details_control {
inline constexpr int AuthorLabel = 91;
inline constexpr int SourceLabel = 92;
inline constexpr int AwardLabel = 93;
inline constexpr int CommentLabel = 94;
inline constexpr int FirstField = 101;
}  // namespace search_details_control

// Solving options. A check box of the search and of the group shown is
// 140 + the index of its option, a check box of the notation 152 + the
// index from the short notation's (solver/solve_options_logic.h checks
// both against the options).
namespace options_control {
inline constexpr int SearchLabel = 91;
inline constexpr int ShowLabel = 92;
inline constexpr int NotationLabel = 93;
inline constexpr int CaptureSignLabel = 94;
inline constexpr int BlackMoveLabel = 95;
inline constexpr int FirstSearchBox = 140;
inline constexpr int SetPlayBox = 140;
inline constexpr int TriesBox = 141;
inline constexpr int ActualPlayBox = 142;
inline constexpr int VariationsBox = 143;
inline constexpr int SeparatorsBox = 144;
inline constexpr int DualizedVariationsBox = 145;
inline constexpr int NonDefensiveMovesBox = 146;
inline constexpr int TryEdit = 147;
inline constexpr int ShortNotationBox = 152;
inline constexpr int AdLibBox = 153;
inline constexpr int ShowChangedMatesBox = 154;
inline constexpr int ShowTransferredMatesBox = 155;
inline constexpr int FirstCaptureSignRadio = 201;  // + sign: "x", ":", "*"
inline constexpr int LastCaptureSignRadio = 203;
inline constexpr int FirstBlackMoveRadio = 301;  // + style: "1. ...", "1...", "1.-"
inline constexpr int LastBlackMoveRadio = 303;
inline constexpr int ActualPlayGroupRadio = 401;
inline constexpr int TriesGroupRadio = 402;
inline constexpr int TryUpDown = 1000;
}  // namespace options_control

// Twins. A kind's radio is FirstKindRadio + its kind (solver/twins.h).
namespace twins_control {
inline constexpr int ModeGroup = 91;
inline constexpr int KindGroup = 92;
inline constexpr int RotationLabel = 93;
inline constexpr int MirrorLabel = 94;
inline constexpr int TranslationLabel = 95;
inline constexpr int AddButton = 101;
inline constexpr int ModifyButton = 102;
inline constexpr int RemoveButton = 103;
inline constexpr int TwinList = 110;
inline constexpr int FirstKindRadio = 201;
inline constexpr int DiagramRadio = 201;
inline constexpr int MoveManRadio = 202;
inline constexpr int RemoveManRadio = 203;
inline constexpr int AddManRadio = 204;
inline constexpr int RemoveAndAddManRadio = 205;
inline constexpr int ExchangeMenRadio = 206;
inline constexpr int Rotate90Radio = 207;
inline constexpr int Rotate180Radio = 208;
inline constexpr int Rotate270Radio = 209;
inline constexpr int TranslateRadio = 210;
inline constexpr int ToroidalRadio = 211;
inline constexpr int VerticalMirrorRadio = 212;
inline constexpr int HorizontalMirrorRadio = 213;
inline constexpr int ChangeTypeRadio = 214;
inline constexpr int AfterKeyRadio = 215;
inline constexpr int ReverseColoursRadio = 216;
inline constexpr int DuplexRadio = 217;
inline constexpr int UsualRadio = 232;
inline constexpr int SuccessiveRadio = 233;
inline constexpr int CombinedBox = 264;
inline constexpr int FirstSquareEdit = 301;
inline constexpr int SecondSquareEdit = 302;
inline constexpr int ManEdit = 303;
inline constexpr int ManLabel = 311;
inline constexpr int SecondSquareLabel = 312;
inline constexpr int FirstSquareLabel = 314;
}  // namespace twins_control

}  // namespace kv
