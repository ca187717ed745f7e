// Printing from the window: the document of a print kind made from what the
// program shows, for the print dialog, the preview and the print options.
#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "collections/file_result.h"
#include "collections/problem_list.h"
#include "print/print_document.h"

namespace kv::app {

// The print kind of the commands: 139 and 2000 a diagram sheet, 140 and
// 2001 a report; the print and preview buttons keep the kind used last.
print::DocumentKind PrintKindOf(int command, print::DocumentKind current);

// The document of `kind`, with the print settings, pane font and language of
// `state`. A report: the problem shown and `paneText` (the solution pane,
// Windows-1252). A diagram sheet: the problem-list entries `selection` when
// there are any, else every problem of the open file (at most 2000), else the
// problem shown. On a failure to read, the document holds nothing to print
// and the result says why.
FileResult MakePrintDocument(const AppState& state, print::DocumentKind kind,
                             const std::string& paneText,
                             const std::vector<ProblemListEntry>& selection,
                             print::PrintDocument& document);

}  // namespace kv::app
