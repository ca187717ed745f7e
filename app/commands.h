// The command ids of the main window, the accelerator table and the rules
// that enable commands. Every source of a command (menu, accelerator,
// toolbar, board, position box) names it by one of these ids.
#pragma once

#include <Qt>
#include <array>

namespace kv::app {

inline constexpr int CmdPositionBox = 13;
inline constexpr int CmdFirst = 20;
inline constexpr int CmdNext = 21;
inline constexpr int CmdPrevious = 22;
inline constexpr int CmdLast = 25;
inline constexpr int CmdClose = 100;
inline constexpr int CmdOpen = 101;
inline constexpr int CmdOpenPosition = 102;
inline constexpr int CmdSaveAs = 103;
inline constexpr int CmdSavePosition = 104;
inline constexpr int CmdPrintButton = 105;
inline constexpr int CmdQuit = 106;
inline constexpr int CmdSearchPositions = 107;
inline constexpr int CmdOldList = 108;
inline constexpr int CmdOrganize = 109;
inline constexpr int CmdNewList = 110;
inline constexpr int CmdAddPosition = 111;
inline constexpr int CmdInformation = 112;
inline constexpr int CmdProblemType = 113;
inline constexpr int CmdVisualizer = 114;
inline constexpr int CmdSetup = 116;
inline constexpr int CmdSpecialEffects = 117;
inline constexpr int CmdClear = 118;
inline constexpr int CmdRestore = 119;
inline constexpr int CmdRefreshSolution = 121;
inline constexpr int CmdSearchSolution = 122;
inline constexpr int CmdTestMove = 123;
inline constexpr int CmdSolvingOptions = 124;
inline constexpr int CmdSaveText = 125;
inline constexpr int CmdReloadText = 126;
inline constexpr int CmdFindNext = 127;
inline constexpr int CmdFindInText = 128;
inline constexpr int CmdHelpIndex = 130;
inline constexpr int CmdAbout = 131;
inline constexpr int CmdPrintOptions = 132;
inline constexpr int CmdDisplayOptions = 133;
inline constexpr int CmdBiographical = 134;
inline constexpr int CmdPreview = 135;
inline constexpr int CmdCopyBoard = 136;
inline constexpr int CmdTwins = 137;
inline constexpr int CmdAdditionalInfo = 138;
inline constexpr int CmdPrintDiagrams = 139;
inline constexpr int CmdPrintReport = 140;
inline constexpr int CmdToggleActualPlay = 146;
inline constexpr int CmdEffectFirst = 182;  // 182..189: board operation id - 180
inline constexpr int CmdEffectLast = 189;
inline constexpr int CmdDuplicates = 199;
inline constexpr int CmdLanguageFirst = 301;  // 301 French .. 304 Spanish, 305 a string file
inline constexpr int CmdLanguageOther = 305;
inline constexpr int CmdRecentFirst = 1000;  // 1000..1003
inline constexpr int CmdRecentLast = 1003;
inline constexpr int CmdStartFile = 1016;
inline constexpr int CmdHandOver = 1032;
inline constexpr int CmdPreviewDiagrams = 2000;
inline constexpr int CmdPreviewReport = 2001;

// One key of the accelerator table; keys reach the main window whatever
// child has the focus.
struct Accelerator {
  Qt::Key key;
  Qt::KeyboardModifier modifier;  // Qt::NoModifier, ShiftModifier or ControlModifier
  int command;
};

inline constexpr std::array<Accelerator, 25> Accelerators = {{
    {Qt::Key_F1, Qt::NoModifier, CmdHelpIndex},
    {Qt::Key_F2, Qt::NoModifier, CmdClear},
    {Qt::Key_F2, Qt::ShiftModifier, CmdRestore},
    {Qt::Key_F3, Qt::NoModifier, CmdSetup},
    {Qt::Key_F3, Qt::ShiftModifier, CmdCopyBoard},
    {Qt::Key_F4, Qt::NoModifier, CmdRefreshSolution},
    {Qt::Key_F5, Qt::NoModifier, CmdSearchSolution},
    {Qt::Key_F5, Qt::ShiftModifier, CmdTestMove},
    {Qt::Key_F6, Qt::NoModifier, CmdInformation},
    {Qt::Key_F6, Qt::ShiftModifier, CmdAdditionalInfo},
    {Qt::Key_F11, Qt::NoModifier, CmdSolvingOptions},
    {Qt::Key_A, Qt::ControlModifier, CmdToggleActualPlay},
    {Qt::Key_F, Qt::ControlModifier, CmdFindNext},
    {Qt::Key_F7, Qt::NoModifier, CmdProblemType},
    {Qt::Key_F7, Qt::ShiftModifier, CmdTwins},
    {Qt::Key_F8, Qt::NoModifier, CmdSaveAs},
    {Qt::Key_F8, Qt::ShiftModifier, CmdSavePosition},
    {Qt::Key_F8, Qt::ControlModifier, CmdAddPosition},
    {Qt::Key_F9, Qt::NoModifier, CmdOpen},
    {Qt::Key_F9, Qt::ShiftModifier, CmdOpenPosition},
    {Qt::Key_F9, Qt::ControlModifier, CmdVisualizer},
    {Qt::Key_F10, Qt::NoModifier, CmdSearchPositions},
    {Qt::Key_F10, Qt::ShiftModifier, CmdOldList},
    {Qt::Key_Escape, Qt::NoModifier, CmdQuit},
    {Qt::Key_D, Qt::ControlModifier, CmdDuplicates},
}};

// The accelerator key of a command; false when it has none.
bool AcceleratorOf(int command, Accelerator& out);

// What decides whether a command can run now.
struct CommandContext {
  bool fileOpen = false;
  int problemListCount = 0;
  bool setupMode = false;
  bool solutionStale = true;
  bool solving = false;
};

// Whether the command is enabled: the menu greys what this refuses, and the
// command itself does nothing then. While a solve runs only Quit (Escape,
// which breaks the solve off) stays enabled.
bool CommandEnabled(int command, const CommandContext& context);

// The ids of the commands that the menus do not hold but that keys, buttons
// and the board reach.
inline constexpr std::array<int, 5> CommandsOutsideMenus = {
    CmdToggleActualPlay, CmdFindNext, CmdDuplicates, CmdPreviewDiagrams, CmdPreviewReport};

}  // namespace kv::app
