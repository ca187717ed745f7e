#include "collections/import_file.h"

#include "collections/import_alybadix.h"
#include "collections/import_dbf.h"
#include "collections/import_epd.h"
#include "collections/import_pgn.h"
#include "collections/import_popeye.h"

namespace kv {

ImportResult ImportFile(ImportEnv& env) {
  switch (ImportFormatOf(env.state.currentFileName)) {
    case ImportFormat::Pgn:
      return ImportPgn(env);
    case ImportFormat::Epd:
      return ImportEpd(env);
    case ImportFormat::Dbf:
      return ImportDbf(env);
    case ImportFormat::Alybadix:
      return ImportAlybadix(env);
    case ImportFormat::Popeye:
      return ImportPopeye(env);
    case ImportFormat::None:
      break;
  }
  ImportResult refused;
  refused.failedFile = env.state.currentFileName;
  refused.result = Fail(FileStatus::CannotOpen, "not a .pgn, .epd, .dbf, .txt or .inp file");
  return refused;
}

}  // namespace kv
