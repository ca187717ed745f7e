// The window's search commands: the position search (its dialog, the search
// and the list of what it found) and the duplicate scan of the current file
// against the other collections of the start-up file system.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "collections/duplicate_scan.h"
#include "collections/file_result.h"
#include "collections/file_walk.h"
#include "collections/search.h"

namespace kv::app {

class MainWindow;
struct AppState;

// Shows numbered message n in a box of the given style; returns the answer.
using WindowMessage = std::function<int(int n, int style)>;
// Reports how an operation on the current file went.
using WindowReport = std::function<void(const FileResult& result)>;

// The search dialog, then the search with the wait cursor; hits open the
// problem list, no hit shows message 49. The search reads the records into
// buffers of its own, so the shown problem, its stored board and the next
// save question are left as they were. Folders and files it could not read
// are named in the status bar (SearchStatusText). Returns the number found.
int PositionSearchCommand(MainWindow& window, const WindowMessage& message);

// The status bar's text after a search: the number found and, when some
// folders or files could not be read, which ones (the first few).
QString SearchStatusText(const SearchOutcome& outcome);

// The collections the duplicate scan reads: those of the file system that
// holds the start-up folder (none when that folder is not known). The
// folders that could not be read are added to `unreadFolders` when given.
std::vector<std::string> DuplicateScanFiles(const AppState& state,
                                            std::vector<UnreadFolder>* unreadFolders = nullptr);

// The duplicate scan of the current file from the current record on against
// `files`, with a progress window whose Stop button (or Escape) stops it
// between records. The current problem is offered for saving first (Cancel:
// nothing is done) and shown again afterwards with the notes the scan
// stored; `summary` (when given) is told what was found, with the
// `unreadFolders` of the walk that made `files`. Returns the number of
// records that received notes.
int DuplicateScanCommand(MainWindow& window, const std::vector<std::string>& files,
                         const WindowReport& report,
                         const std::function<void(const QString& text)>& summary = nullptr,
                         const std::vector<UnreadFolder>& unreadFolders = {});

// What the scan tells at its end: how many copies of how many problems it
// found and in which files, that the lists were appended to the problems'
// stored solution texts, whether it was stopped, and the files and folders
// it could not read. `total`: the records it was to scan.
QString DuplicateScanSummary(const DuplicateScanOutcome& outcome, int total,
                             const std::vector<UnreadFolder>& unreadFolders = {});

}  // namespace kv::app
