#include "strings/dialog_translation.h"

#include <array>

namespace kv {
namespace {

constexpr DialogLabel kDisplayOptions[] = {{103, 184}, {104, 185}, {105, 151}, {106, 125}};

constexpr DialogLabel kInformation[] = {{116, 99}, {119, 128}, {201, 160}, {200, 93}};

constexpr DialogLabel kBiographicalSelection[] = {{91, 101},  {92, 111},  {93, 109},
                                                  {110, 132}, {107, 196}, {180, 129}};

constexpr DialogLabel kOrganise[] = {{129, 110}, {130, 152}, {131, 177},
                                     {4, 154},   {211, 130}, {212, 113}};

constexpr DialogLabel kSolvingOptions[] = {
    {91, 169},  {140, 172}, {141, 192}, {142, 178}, {92, 176},  {401, 178},
    {402, 191}, {143, 199}, {144, 170}, {145, 121}, {146, 145}, {93, 147},
    {152, 173}, {94, 103},  {95, 102},  {154, 174}, {155, 175}};

constexpr DialogLabel kPrintOptionPages[] = {
    {92, 204},  {93, 205}, {94, 207}, {95, 206},  {96, 208},  {97, 115},  {98, 167}, {99, 106},
    {100, 116}, {87, 153}, {89, 149}, {112, 156}, {130, 155}, {131, 158}, {1, 157}};

constexpr DialogLabel kSave[] = {{91, 110}, {92, 150}, {93, 177}};

constexpr DialogLabel kProblemList[] = {{1000, 92}, {1, 105}};

constexpr DialogLabel kPositionSearch[] = {
    {222, 128}, {91, 139},  {92, 96},   {93, 83},   {94, 84},  {95, 137},
    {119, 127}, {120, 126}, {121, 186}, {122, 165}, {96, 168}, {130, 124},
    {131, 118}, {132, 120}, {1000, 92}, {107, 194}, {106, 97}, {333, 195}};

constexpr DialogLabel kTestMove[] = {{122, 187}};

constexpr DialogLabel kProblemType[] = {{91, 131},  {170, 85},  {171, 86},  {172, 87},
                                        {173, 88},  {174, 179}, {92, 143},  {93, 136},
                                        {180, 134}, {181, 135}, {175, 171}, {176, 138}};

constexpr DialogLabel kSearchInformation[] = {{91, 98}, {92, 180}, {93, 100}, {94, 108}};

constexpr DialogLabel kTwins[] = {
    {91, 193},  {233, 198}, {232, 197}, {92, 119},  {201, 114}, {202, 142}, {203, 161},
    {204, 94},  {205, 162}, {206, 123}, {210, 146}, {211, 189}, {212, 202}, {213, 201},
    {214, 104}, {217, 122}, {215, 95},  {216, 164}, {314, 182}, {312, 183}, {311, 133},
    {101, 93},  {102, 141}, {103, 160}, {93, 166},  {94, 140},  {95, 190},  {264, 107}};

constexpr DialogLabel kAdditionalInformation[] = {
    {91, 89}, {92, 90}, {93, 181}, {94, 91}, {95, 200}};

constexpr DialogLabel kDuplicateInformation[] = {{101, 98},  {102, 180}, {103, 100},
                                                 {104, 108}, {105, 181}, {91, 148}};

constexpr DialogLabel kPrintPreview[] = {{1005, 157}, {1004, 203}, {2, 105}};

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
