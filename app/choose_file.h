// ChooseFile: the open or save dialog of a kind (app/choose_file_logic.h).
#pragma once

#include <string>

#include "strings/language.h"

class QFileDialog;
class QWidget;

namespace kv::app {

// The dialog of the kind, set up but not shown: title, filters, default
// extension, open (existing file required, no read-only box) or save (asks
// before overwriting). It starts at `name` (a file or a folder) when given.
QFileDialog* MakeFileDialog(QWidget* owner, const Language& language, int kind,
                            const std::string& name);

// Shows the dialog; on OK puts the chosen path into name (UTF-8, its case
// kept) and answers true. Cancel leaves name unchanged.
bool ChooseFile(QWidget* owner, const Language& language, std::string& name, int kind);

}  // namespace kv::app
