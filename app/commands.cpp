#include "app/commands.h"

namespace kv::app {

bool AcceleratorOf(int command, Accelerator& out) {
  for (const Accelerator& a : Accelerators) {
    if (a.command == command) {
      out = a;
      return true;
    }
  }
  return false;
}

bool CommandEnabled(int command, const CommandContext& c) {
  if (c.solving) return command == CmdQuit;
  switch (command) {
    case CmdClose:
    case CmdOrganize:
    case CmdOpenPosition:
    case CmdSavePosition:
    case CmdAddPosition:
    case CmdVisualizer:
    case CmdNewList:
    case CmdSaveText:
    case CmdReloadText:
      return c.fileOpen;
    case CmdOldList:
      // The toolbar button and the key share the action: with a file open
      // the command builds the list of the whole file, so it can run.
      return c.fileOpen || c.problemListCount > 0;
    case CmdSetup:
      return !c.setupMode;
    case CmdRefreshSolution:
      return !c.solutionStale;
    default:
      return true;
  }
}

}  // namespace kv::app
