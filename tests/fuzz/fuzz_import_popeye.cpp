// libFuzzer harness for the solver input importer: any bytes must give
// problems or a clear failure, never a read out of bounds or a hang. Every
// problem kept must fit its fields and hold a twins field the twin code reads
// (at most 31 printable entries), and every problem kept must be exported
// again and read back as the same problem.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "collections/export_popeye.h"
#include "collections/import_popeye.h"
#include "collections/kvl_format.h"
#include "solver/twins.h"

namespace {

void CheckAt(bool condition, int line) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_import_popeye: check on line %d failed\n", line);
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
  Check(Fits(p.twins, kv::MaxTwinsLength));
  for (const std::string& extra : p.extraStrings) Check(Fits(extra, kv::MaxExtraStringLength));
  for (char c : p.twins) Check(static_cast<unsigned char>(c) >= 0x20);
  Check(p.type.kind <= kv::KindReflex && p.type.moves >= 1);
  for (const std::uint8_t byte : imported.position) Check(kv::IsValidPositionByte(byte));
}

// The export of a problem read back gives its board, stipulation and twins.
void CheckRoundTrip(const kv::ImportedProblem& imported) {
  kv::Board board = kv::EmptyImportBoard();
  kv::PositionBytesToBoard(imported.position, board);
  std::string text;
  std::string reason;
  Check(kv::PopeyeProblemText(imported.problem, board, text, reason));
  const std::string file =
      std::string(kv::PopeyeFirstProblem) + text + std::string(kv::PopeyeEndOfProblems);
  kv::SourceReader source;
  source.OpenBytes({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
  kv::ImportBatch batch;
  Check(kv::ReadPopeyeProblems(source, batch).ok());
  Check(batch.count() == 1);
  const kv::ImportedProblem& back = batch.problems()[0];
  Check(back.position == imported.position);
  Check(back.problem.type.kind == imported.problem.type.kind);
  Check(back.problem.type.flags == imported.problem.type.flags);
  Check(back.problem.type.moves == imported.problem.type.moves);
  Check(kv::TwinCount(back.problem.twins) <= kv::TwinCount(imported.problem.twins));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kv::SourceReader source;
  source.OpenBytes({data, size});
  kv::ImportBatch batch;
  const kv::FileResult result = kv::ReadPopeyeProblems(source, batch);
  Check(result.ok() || !result.detail.empty());
  Check(batch.count() <= kv::MaxImportedProblems);
  Check(static_cast<int>(batch.skipNotes().size()) <= kv::MaxSkipNotes);
  for (const kv::ImportedProblem& imported : batch.problems()) {
    CheckProblem(imported);
    CheckRoundTrip(imported);
  }
  return 0;
}
