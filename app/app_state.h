// What the program has one of, in plain records that the main window holds
// and passes by reference: the position, the current problem, the open
// collection, the options and the settings kept between runs. Every test
// builds a fresh one.
#pragma once

#include <string>

#include "app/navigation.h"
#include "collections/author_list.h"
#include "collections/biographical_filter.h"
#include "collections/current_problem.h"
#include "collections/problem_file.h"
#include "collections/problem_list.h"
#include "collections/search_criteria.h"
#include "config/settings.h"
#include "core/position.h"
#include "solver/solve_options.h"
#include "strings/language.h"

namespace kv::app {

struct AppState {
  Position pos;  // pos.board is the Board the board window shows and edits
  Board backup;  // written by Clear, read by Restore
  CurrentProblem problem;
  CollectionState collection;
  SolveOptions options;
  OutputSettings output;
  PaneFont paneFont = DefaultPaneFont();
  SearchMemory searchMemory;
  SearchCriteria searchCriteria;  // the position search's, kept for the whole run
  std::string authorListFile = "auteurs.txt";
  // The author, source and country lists the information dialogs offer, as
  // read from authorListFile (and the SOURCES.TXT beside it) by DialogLists.
  AuthorAndSourceLists dialogLists;
  std::string dialogListsFrom;
  bool dialogListsLoaded = false;
  // Why the last reading of the author list stopped before its end (empty
  // when it did not); the window tells the user once and empties it.
  std::string dialogListsProblem;
  BiographicalSelection biographical;  // the selection's fields as last applied
  Language language;
  std::string customMenu = "polish.str";  // the ".str" file of the custom language
  RecentFiles recentFiles;
  std::string startDirectory;  // shortens the recent-file labels

  bool fileOpen = false;
  bool solutionStale = true;
  bool skipNextSavePrompt = false;
  int previousIndex = -1;
  int problemListCount = 0;
  ProblemList problemList;     // problemListCount mirrors its count
  int lastPrintPageCount = 0;  // pages of the last print run, offered by the print dialog
  std::string findText;        // the solution pane's search text, kept between searches

  AppState();
};

}  // namespace kv::app
