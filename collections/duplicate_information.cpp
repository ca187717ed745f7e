#include "collections/duplicate_information.h"

#include "collections/export.h"

namespace kv {
namespace {

std::string Fitted(std::string_view text, std::size_t length) {
  return std::string(FitText(text, length));
}

}  // namespace

void ApplyDuplicateInformation(const DuplicateInformation& info, int k, CurrentProblem& problem) {
  auto text = [&info](int field) { return Fitted(info.texts[field], MaxDuplicatedTextLength); };
  const std::string number =
      info.startNumber != 0 ? std::to_string(info.startNumber + k) : std::string();

  if (info.ticked[DuplicateAuthor])
    problem.authors = Fitted(text(DuplicateAuthor), MaxAuthorsLength);
  if (info.ticked[DuplicateSource])
    problem.source = Fitted(text(DuplicateSource) + number, MaxSourceLength);
  if (info.ticked[DuplicateAward]) problem.award = Fitted(text(DuplicateAward), MaxAwardLength);
  if (info.ticked[DuplicateComment])
    problem.comment = Fitted(text(DuplicateComment), MaxCommentLength);
  if (info.ticked[DuplicateSecondSource])
    problem.extraStrings[ExtraSecondSource] =
        CleanExtraString(text(DuplicateSecondSource) + number);
}

DuplicateOutcome RunDuplicateInformation(const DuplicateInformation& info, const ProblemList& list,
                                         const std::vector<ProblemListEntry>& entries,
                                         CollectionState& collection, CurrentProblem& problem,
                                         Board& board, const Language& language,
                                         const UiCallbacks& ui) {
  DuplicateOutcome outcome;
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const ProblemListEntry& entry = entries[k];
    const std::string file = entry.file < list.files.size() ? list.FileOf(entry) : std::string();
    FileResult result = LoadListEntry(file, entry.record, collection, problem, board);
    if (result) {
      ApplyDuplicateInformation(info, static_cast<int>(k), problem);
      result = SaveProblem(collection, problem, board);
    }
    if (result) {
      ++outcome.saved;
      continue;
    }
    ++outcome.failed;
    if (outcome.firstFailure.ok()) {
      outcome.firstFailure = result;
      ReportFileResult(ui, language, result, file);
    }
  }
  return outcome;
}

}  // namespace kv
