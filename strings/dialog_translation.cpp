#include "strings/dialog_translation.h"

#include <array>

#include "strings/dialog_controls.h"
#include "strings/message_ids.h"

namespace kv {
namespace {

namespace display = display_options_control;
constexpr DialogLabel kDisplayOptions[] = {
    {display::Squares3DBox, msg::Squares3D},
    {display::NotationBox, msg::SymbolicNotation},
    {display::OtherPiecesBox, msg::OtherPieces},
    {display::FontButton, msg::Font},
};

namespace information = information_control;
constexpr DialogLabel kInformation[] = {
    {information::AuthorLabel, msg::Authors},
    {information::InformationButton, msg::Information},
    {information::RemoveAuthorButton, msg::Remove},
    {information::AddAuthorButton, msg::Add},
};

namespace biographical = biographical_selection_control;
constexpr DialogLabel kBiographicalSelection[] = {
    {biographical::BirthGroup, msg::Birth},
    {biographical::DeathGroup, msg::Death},
    {biographical::CountryLabel, msg::Country},
    {biographical::ListButton, msg::List},
    {biographical::UpdateButton, msg::UpdateAuthorList},
    {biographical::InitializeButton, msg::Initialize},
};

namespace organize = organize_control;
constexpr DialogLabel kOrganise[] = {
    {organize::FileCaption, msg::CurrentFile}, {organize::PositionCaption, msg::PositionNumber},
    {organize::SizeCaption, msg::Size},        {organize::CompactButton, msg::Compact},
    {organize::InsertRadio, msg::Insert},      {organize::DeleteRadio, msg::Delete},
};

namespace options = options_control;
constexpr DialogLabel kSolvingOptions[] = {
    {options::SearchLabel, msg::Search},
    {options::SetPlayBox, msg::SetPlay},
    {options::TriesBox, msg::TryPlay},
    {options::ActualPlayBox, msg::ActualPlay},
    {options::ShowLabel, msg::Show},
    {options::ActualPlayGroupRadio, msg::ActualPlay},
    {options::TriesGroupRadio, msg::Tries},
    {options::VariationsBox, msg::Variations},
    {options::SeparatorsBox, msg::Separators},
    {options::DualizedVariationsBox, msg::DualizedVariations},
    {options::NonDefensiveMovesBox, msg::NonDefensiveMoves},
    {options::NotationLabel, msg::Notation},
    {options::ShortNotationBox, msg::Shortened},
    {options::CaptureSignLabel, msg::CaptureSymbol},
    {options::BlackMoveLabel, msg::BlackMoveNotation},
    {options::ShowChangedMatesBox, msg::ShowChangedMates},
    {options::ShowTransferredMatesBox, msg::ShowTransferredMates},
};

namespace print = print_options_control;
constexpr DialogLabel kPrintOptionPages[] = {
    {print::LeftMarginLabel, msg::LeftMargin},
    {print::RightMarginLabel, msg::RightMargin},
    {print::TopMarginLabel, msg::TopMargin},
    {print::BottomMarginLabel, msg::BottomMargin},
    {print::MarginsLabel, msg::MarginsInMillimetres},
    {print::DiagramSizeLabel, msg::DiagramSize},
    {print::RowsLabel, msg::Rows},
    {print::ColumnsLabel, msg::Columns},
    {print::DiagramBorderLabel, msg::DiagramBorder},
    {print::TextColumnsLabel, msg::TextColumns},
    {print::DiagramsPerPageLabel, msg::DiagramsPerPage},
    {print::ReportDiagramBox, msg::PrintDiagram},
    {print::PreviewButton, msg::Preview},
    {print::PrinterButton, msg::Printer},
    {print::OkButton, msg::Print},
};

namespace save = save_position_control;
constexpr DialogLabel kSave[] = {
    {save::FileCaption, msg::CurrentFile},
    {save::NumberCaption, msg::Number},
    {save::SizeCaption, msg::Size},
};

constexpr DialogLabel kProblemList[] = {
    {problem_list_control::ActionsButton, msg::Actions},
    {problem_list_control::CloseButton, msg::Close},
};

namespace search = position_search_control;
constexpr DialogLabel kPositionSearch[] = {
    {search::InformationGroup, msg::Information},
    {search::MenGroup, msg::Men},
    {search::AmountLabel, msg::Amount},
    {search::WhiteLabel, msg::White},
    {search::BlackLabel, msg::Black},
    {search::MatrixGroup, msg::Matrix},
    {search::IdentityBox, msg::Identity},
    {search::GapBox, msg::Gap},
    {search::SymmetryBox, msg::Symmetry},
    {search::RotationBox, msg::Rotation},
    {search::ScopeGroup, msg::Scope},
    {search::FileRadio, msg::File},
    {search::DirectoryRadio, msg::Directory},
    {search::DiskRadio, msg::Disk},
    {search::ActionsButton, msg::Actions},
    {search::TwinsBox, msg::Twins},
    {search::AristocraticBox, msg::Aristocratic},
    {search::TypeGroup, msg::Type},
};

constexpr DialogLabel kTestMove[] = {{test_move_control::TestButton, msg::Test}};

namespace type = problem_type_control;
constexpr DialogLabel kProblemType[] = {
    {type::KindGroup, msg::Kind},
    {type::DirectRadio, msg::KindDirect},
    {type::HelpRadio, msg::KindHelpmate},
    {type::SelfRadio, msg::KindSelfmate},
    {type::ReflexRadio, msg::KindReflexmate},
    {type::MovesLabel, msg::SolutionIn},
    {type::MovesUnitLabel, msg::Moves},
    {type::GoalGroup, msg::MateOrStalemate},
    {type::MateRadio, msg::Mate},
    {type::StalemateRadio, msg::Stalemate},
    {type::SerialBox, msg::Serial},
    {type::MaximumBox, msg::Maximum},
};

namespace details = search_details_control;
constexpr DialogLabel kSearchInformation[] = {
    {details::AuthorLabel, msg::Author},
    {details::SourceLabel, msg::Source},
    {details::AwardLabel, msg::Award},
    {details::CommentLabel, msg::Comment},
};

namespace twins = twins_control;
constexpr DialogLabel kTwins[] = {
    {twins::ModeGroup, msg::TwinType},
    {twins::SuccessiveRadio, msg::Successive},
    {twins::UsualRadio, msg::Usual},
    {twins::KindGroup, msg::Discriminants},
    {twins::DiagramRadio, msg::Diagram},
    {twins::MoveManRadio, msg::MoveMan},
    {twins::RemoveManRadio, msg::RemoveMan},
    {twins::AddManRadio, msg::AddMan},
    {twins::RemoveAndAddManRadio, msg::RemoveAndAddMan},
    {twins::ExchangeMenRadio, msg::ExchangeMen},
    {twins::TranslateRadio, msg::Normal},
    {twins::ToroidalRadio, msg::Toroidal},
    {twins::VerticalMirrorRadio, msg::Vertical},
    {twins::HorizontalMirrorRadio, msg::Horizontal},
    {twins::ChangeTypeRadio, msg::ChangeProblemType},
    {twins::DuplexRadio, msg::Duplex},
    {twins::AfterKeyRadio, msg::AfterKey},
    {twins::ReverseColoursRadio, msg::ReverseColours},
    {twins::FirstSquareLabel, msg::FirstSquare},
    {twins::SecondSquareLabel, msg::SecondSquare},
    {twins::ManLabel, msg::Man},
    {twins::AddButton, msg::Add},
    {twins::ModifyButton, msg::Modify},
    {twins::RemoveButton, msg::Remove},
    {twins::RotationLabel, msg::RotationBy},
    {twins::MirrorLabel, msg::Mirror},
    {twins::TranslationLabel, msg::Translation},
    {twins::CombinedBox, msg::CombinedDiscriminant},
};

namespace additional = additional_information_control;
constexpr DialogLabel kAdditionalInformation[] = {
    {additional::FirstExtraLabel + 0, msg::DedicatedTo},
    {additional::FirstExtraLabel + 1, msg::After},
    {additional::FirstExtraLabel + 2, msg::SecondSource},
    {additional::FirstExtraLabel + 3, msg::In},
    {additional::FirstExtraLabel + 4, msg::Version},
};

namespace duplicate = duplicate_info_control;
constexpr DialogLabel kDuplicateInformation[] = {
    {duplicate::FirstFieldBox + 0, msg::Author},
    {duplicate::FirstFieldBox + 1, msg::Source},
    {duplicate::FirstFieldBox + 2, msg::Award},
    {duplicate::FirstFieldBox + 3, msg::Comment},
    {duplicate::FirstFieldBox + 4, msg::SecondSource},
    {duplicate::StartLabel, msg::StartNumberingFrom},
};

namespace preview = print_preview_control;
constexpr DialogLabel kPrintPreview[] = {
    {preview::PrintButton, msg::Print},
    {preview::ZoomBox, msg::Zoom},
    {preview::CloseButton, msg::Close},
};

}  // namespace

std::span<const DialogLabel> DialogLabels(int tableIndex) {
  switch (tableIndex) {
    case DialogDisplayOptions:
      return kDisplayOptions;
    case DialogInformation:
      return kInformation;
    case DialogBiographicalSelection:
      return kBiographicalSelection;
    case DialogOrganise:
      return kOrganise;
    case DialogSolvingOptions:
      return kSolvingOptions;
    case DialogPrintOptionPages:
      return kPrintOptionPages;
    case DialogSave:
      return kSave;
    case DialogProblemList:
      return kProblemList;
    case DialogPositionSearch:
      return kPositionSearch;
    case DialogTestMove:
      return kTestMove;
    case DialogProblemType:
      return kProblemType;
    case DialogSearchInformation:
      return kSearchInformation;
    case DialogTwins:
      return kTwins;
    case DialogAdditionalInformation:
      return kAdditionalInformation;
    case DialogDuplicateInformation:
      return kDuplicateInformation;
    case DialogPrintPreview:
      return kPrintPreview;
    default:
      return {};
  }
}

std::vector<ControlText> TranslateDialog(const Language& language, int tableIndex) {
  std::vector<ControlText> texts;
  if (LanguageIndex(language) == 0 || tableIndex >= 256) return texts;
  for (const DialogLabel& label : DialogLabels(tableIndex)) {
    texts.push_back({label.control, LoadMessage(language, label.message)});
  }
  return texts;
}

std::string StandardButtonText(const Language& language, int control,
                               const std::string& currentText) {
  if (currentText.size() >= 2 || control < 1 || control > 3) return currentText;
  return std::string(ButtonText(language, control));
}

}  // namespace kv
