#include "collections/import_target.h"

#include <new>

#include "collections/kvl_format.h"
#include "collections/locked_file.h"

namespace kv {
namespace {

constexpr int CreateAttempts = 3;

// The heap bytes the problems' texts will take at most, so that the buffer
// grows once.
std::size_t TextBytes(const std::vector<ImportedProblem>& problems) {
  std::size_t bytes = 0;
  for (const ImportedProblem& imported : problems) {
    const CurrentProblem& p = imported.problem;
    bytes += p.authors.size() + p.source.size() + p.award.size() + p.comment.size() +
             p.solutionText.size() + p.twins.size() + SlotCount * HeapStringOverhead;
    for (const std::string& extra : p.extraStrings) bytes += extra.size() + 3;
  }
  return bytes;
}

}  // namespace

FileResult AppendImportedBytes(const std::vector<std::uint8_t>& in,
                               const std::vector<ImportedProblem>& problems,
                               std::vector<std::uint8_t>& out, int& first) {
  const int count = static_cast<int>(problems.size());
  if (count == 0) {
    out = in;
    first = -1;
    return {};
  }
  try {
    // As PrepareAppend: an empty file becomes the new file, whose one blank
    // record takes the first problem.
    const bool fresh = in.size() < HeaderSize;
    const std::vector<std::uint8_t> start = fresh ? NewFileBytes() : std::vector<std::uint8_t>();
    const std::vector<std::uint8_t>& base = fresh ? start : in;
    int lastIndex = -1;
    if (FileResult read = ReadLastIndex(ByteStore::OnBytes(base), lastIndex); !read) return read;
    first = fresh ? 0 : lastIndex + 1;
    const int added = fresh ? count - 1 : count;
    if (FileResult grown = InsertRecordsInBytes(base, first + count - added, added, out); !grown) {
      return grown;
    }
    out.reserve(out.size() + TextBytes(problems));
    ByteStore store = ByteStore::OnBuffer(out);
    for (int i = 0; i < count; ++i) {
      const ImportedProblem& imported = problems[static_cast<std::size_t>(i)];
      if (FileResult written =
              WriteProblemRecord(store, first + i, imported.problem, imported.position);
          !written) {
        return written;
      }
    }
  } catch (const std::bad_alloc&) {
    return Fail(FileStatus::NoMemory, {});
  }
  return {};
}

FileResult AppendImportedProblems(const std::string& path,
                                  const std::vector<ImportedProblem>& problems, int& first) {
  // A missing collection is created complete or not at all; when another
  // program creates it between our look and our write, the import starts
  // again on that file.
  for (int attempt = 0; attempt < CreateAttempts; ++attempt) {
    LockedFile file;
    if (FileResult opened = file.Open(path, FileAccess::WriteCreate); !opened) return opened;
    std::vector<std::uint8_t> old;
    if (FileResult read = file.ReadAll(old); !read) return read;
    std::vector<std::uint8_t> appended;
    if (FileResult built = AppendImportedBytes(old, problems, appended, first); !built) {
      return built;
    }
    FileResult replaced = file.ReplaceContents(appended);
    if (file.nameTaken()) continue;
    return replaced;
  }
  return Fail(FileStatus::CannotOpen, "the name is taken by a file that cannot be opened");
}

ImportResult RunImport(ImportEnv& env, const ProblemReader& read) {
  ImportResult outcome;
  const std::string source = env.state.currentFileName;
  outcome.targetPath = ImportTargetPath(source);
  outcome.failedFile = source;

  SourceReader reader;
  if (FileResult opened = reader.Open(source); !opened) {
    outcome.result = opened;
    return outcome;
  }
  ImportBatch batch(&env.ui);
  if (FileResult gathered = read(reader, batch); !gathered) {
    outcome.result = gathered;
    return outcome;
  }
  outcome.skipped = batch.skipped();
  outcome.skipNotes = batch.skipNotes();
  outcome.notKept = batch.notKept();
  if (reader.failed()) {
    outcome.result = Fail(FileStatus::CannotOpen, reader.failure());
    return outcome;
  }
  if (batch.count() == 0) {
    outcome.result = Fail(FileStatus::CannotOpen, "no problem found");
    return outcome;
  }

  int first = -1;
  if (FileResult written = AppendImportedProblems(outcome.targetPath, batch.problems(), first);
      !written) {
    outcome.result = written;
    outcome.failedFile = outcome.targetPath;
    return outcome;
  }
  outcome.imported = batch.count();
  outcome.stoppedAtLimit = batch.stoppedAtLimit();

  CollectionState loaded{outcome.targetPath, 0, -1};
  if (FileResult shown = LoadProblem(loaded, env.problem, env.board); !shown) {
    outcome.result = shown;
    outcome.failedFile = outcome.targetPath;
    return outcome;
  }
  env.state = loaded;
  return outcome;
}

}  // namespace kv
