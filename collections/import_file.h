// Opening a file that is not a collection: the importer of its extension
// reads it into the collection of the same path.
#pragma once

#include "collections/import_common.h"
#include "collections/import_target.h"

namespace kv {

// Runs the importer of the format of env.state.currentFileName (by its
// extension, ImportFormatOf). A name without an import extension is a
// collection already: the result then fails with nothing written.
ImportResult ImportFile(ImportEnv& env);

}  // namespace kv
