// libFuzzer harness for the four importers: any bytes, read as a PGN file,
// an EPD file, a dBASE table and an archive text, must give problems or a
// clear failure, never a read out of bounds or a hang. Every problem kept
// must fit its fields (so that it reads back from the collection exactly as
// imported), and the records built from them must read back so.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "collections/import_alybadix.h"
#include "collections/import_dbf.h"
#include "collections/import_epd.h"
#include "collections/import_pgn.h"
#include "collections/kvl_format.h"

namespace {

// Stops with the line of the broken promise.
void CheckAt(bool condition, int line) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_importers: check on line %d failed\n", line);
  std::abort();
}
#define Check(condition) CheckAt((condition), __LINE__)

bool Fits(const std::string& text, int maxLength) {
  return text.size() <= static_cast<std::size_t>(maxLength) && text.find('\0') == std::string::npos;
}

void CheckProblem(const kv::ImportedProblem& imported) {
  const kv::CurrentProblem& p = imported.problem;
  Check(Fits(p.authors, kv::MaxAuthorsLength));
  Check(Fits(p.source, kv::MaxSourceLength));
  Check(Fits(p.award, kv::MaxAwardLength));
  Check(Fits(p.comment, kv::MaxCommentLength));
  Check(Fits(p.solutionText, kv::MaxHeapStringLength));
  Check(p.twins.empty());
  for (const std::string& extra : p.extraStrings) Check(extra.empty());
  Check(p.type.kind <= kv::KindSelf && p.type.flags == 0 && p.type.moves <= 9);
  for (const std::uint8_t byte : imported.position) Check(kv::IsValidPositionByte(byte));
}

// The records appended for the batch read back as the problems imported.
void CheckRecords(const kv::ImportBatch& batch) {
  std::vector<std::uint8_t> bytes;
  int first = -1;
  Check(kv::AppendImportedBytes({}, batch.problems(), bytes, first).ok());
  Check(first == 0);
  const kv::ByteStore store = kv::ByteStore::OnBytes(bytes);
  for (int i = 0; i < batch.count(); ++i) {
    const kv::ImportedProblem& imported = batch.problems()[static_cast<std::size_t>(i)];
    kv::CurrentProblem back;
    Check(kv::ReadProblemRecord(store, i, back).ok());
    const kv::CurrentProblem& p = imported.problem;
    Check(back.authors == p.authors && back.source == p.source && back.award == p.award &&
          back.comment == p.comment && back.solutionText == p.solutionText);
    Check(back.type.kind == p.type.kind && back.type.moves == p.type.moves);
    Check(back.storedBoard == imported.position);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kv::Language language;
  const std::function<kv::FileResult(kv::SourceReader&, kv::ImportBatch&)> readers[] = {
      kv::ReadPgnProblems,
      kv::ReadEpdProblems,
      kv::ReadArchiveProblems,
      [&language](kv::SourceReader& source, kv::ImportBatch& batch) {
        return kv::ReadDbfProblems(source, language, batch);
      },
  };
  for (const auto& read : readers) {
    kv::SourceReader source;
    source.OpenBytes({data, size});
    kv::ImportBatch batch;
    const kv::FileResult result = read(source, batch);
    Check(result.ok() || !result.detail.empty());
    Check(batch.count() <= kv::MaxImportedProblems);
    for (const kv::ImportedProblem& imported : batch.problems()) CheckProblem(imported);
    if (batch.count() > 0) CheckRecords(batch);
  }
  return 0;
}
