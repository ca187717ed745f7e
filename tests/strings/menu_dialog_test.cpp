#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "strings/custom_language.h"
#include "strings/dialog_translation.h"
#include "strings/menu.h"

namespace kv {
namespace {

Language Lang(int base) {
  Language language;
  language.base = base;
  return language;
}

// The ids and kinds of a menu in order, texts left out.
std::string Shape(const std::vector<MenuItem>& items) {
  std::string shape;
  for (const MenuItem& item : items) {
    shape += item.kind == MenuItemKind::Separator ? "|" : std::to_string(item.id);
    if (item.kind == MenuItemKind::Popup) shape += "(" + Shape(item.items) + ")";
    shape += " ";
  }
  return shape;
}

TEST(Menus, EnglishMenuBar) {
  const Menu menu = LanguageMenu(Language{});
  ASSERT_EQ(menu.size(), 5u);
  const char* titles[] = {"&File", "&Position", "&Board", "&Solution", "&Misc"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(menu[i].text, titles[i]);
  EXPECT_EQ(Shape(menu[0].items),
            "101 103 100 | 109 | 140 139 132 135 | 0(302 301 303 304 | 305 ) | 106 | 1000 1001 "
            "1002 1003 ");
  EXPECT_EQ(Shape(menu[1].items), "102 104 111 | 112 138 113 137 | 107 | 0(108 110 ) 114 ");
  EXPECT_EQ(Shape(menu[2].items), "118 119 116 136 117 ");
  EXPECT_EQ(Shape(menu[3].items), "121 122 123 | 124 | 125 126 | 128 ");
  EXPECT_EQ(Shape(menu[4].items), "130 131 | 133 | 134 ");
  const MenuItem* open = FindMenuItem(menu, 101);
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->text, "&Open...\bF9");
  EXPECT_EQ(MenuLabel(open->text), "&Open...");
  EXPECT_EQ(MenuHint(open->text), "F9");
  EXPECT_EQ(MenuTitle(open->text), "Open");
  EXPECT_EQ(MenuHint(FindMenuItem(menu, 111)->text), "Ctl+F8");
  EXPECT_EQ(FindMenuItem(menu, 9999), nullptr);
}

TEST(Menus, EveryLanguageHasTheSameIdsInTheSamePlaces) {
  const Menu en = LanguageMenu(Lang(LanguageEnglish));
  for (int base : {LanguageFrench, LanguageItalian, LanguageSpanish}) {
    const Menu menu = LanguageMenu(Lang(base));
    EXPECT_EQ(Shape(menu), Shape(en)) << base;
    // The language items name each language in itself.
    EXPECT_EQ(FindMenuItem(menu, 301)->text,
              "&Fran\xE7"
              "ais");
  }
  EXPECT_EQ(FindMenuItem(LanguageMenu(Lang(LanguageFrench)), 101)->text, "&Ouvrir...\bF9");
}

// Collects the command ids of a menu.
void CommandIds(const std::vector<MenuItem>& items, std::vector<int>& ids) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItemKind::Command) ids.push_back(item.id);
    CommandIds(item.items, ids);
  }
}

TEST(Menus, EveryCommandHasAHelpLineInEveryLanguage) {
  std::vector<int> ids;
  CommandIds(LanguageMenu(Language{}), ids);
  ids.push_back(105);  // the print button of the toolbar
  ids.push_back(127);  // find next, from its accelerator
  for (int base : {LanguageFrench, LanguageEnglish, LanguageItalian, LanguageSpanish}) {
    for (int id : ids) {
      if (id < 100 || id > 140) continue;
      EXPECT_FALSE(LoadMessage(Lang(base), id - 100).empty()) << base << " " << id;
    }
  }
}

TEST(Menus, TabAlsoSeparatesAHint) {
  EXPECT_EQ(MenuLabel("&Quit\tEsc"), "&Quit");
  EXPECT_EQ(MenuHint("&Quit\tEsc"), "Esc");
  EXPECT_EQ(MenuHint("&Close"), "");
  EXPECT_EQ(MenuTitle("Print &Preview...\bCtrl+P"), "Print Preview");
}

TEST(Menus, BuildMenuFromLines) {
  const Menu menu = BuildMenu({{0, MenuItemKind::Popup, 0, "A"},
                               {1, MenuItemKind::Command, 1, "a1"},
                               {1, MenuItemKind::Popup, 0, "B"},
                               {2, MenuItemKind::Command, 2, "b1"},
                               {1, MenuItemKind::Separator, 0, ""},
                               {5, MenuItemKind::Command, 3, "too deep"},
                               {0, MenuItemKind::Popup, 0, "C"}});
  EXPECT_EQ(Shape(menu), "0(1 0(2 ) | 3 ) 0() ");
}

TEST(DialogTranslation, SolvingOptionsInEnglish) {
  const std::vector<ControlText> texts = TranslateDialog(Language{}, DialogSolvingOptions);
  const std::vector<std::pair<int, std::string>> expected = {{91, "Search:"},
                                                             {140, "&Set play"},
                                                             {141, "&Try play:"},
                                                             {142, "&Actual Play"},
                                                             {92, "&Show:"},
                                                             {401, "&Actual Play"},
                                                             {402, "Tries"},
                                                             {143, "&Variations"},
                                                             {144, "Se&parators"},
                                                             {145, "&Dualized variations"},
                                                             {146, "&Non-defensive moves"},
                                                             {93, "&Notation:"},
                                                             {152, "&Shortened"},
                                                             {94, "&Capture Symbol:"},
                                                             {95, "&Black move Notation:"},
                                                             {154, "Show &changed mates"},
                                                             {155, "Show &transfered mates"}};
  ASSERT_EQ(texts.size(), expected.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(texts[i].control, expected[i].first);
    EXPECT_EQ(texts[i].text, expected[i].second);
  }
}

TEST(DialogTranslation, ProblemTypeInEnglish) {
  const std::vector<ControlText> texts = TranslateDialog(Language{}, DialogProblemType);
  const char* expected[] = {"&Kind:",      "&Direct",       "&Helpmate", "&Selfmate",
                            "&Reflexmate", "&Solution in:", "moves",     "Mate / Pat",
                            "&Mate",       "&Pat",          "&serial",   "ma&ximum"};
  ASSERT_EQ(texts.size(), std::size(expected));
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i].text, expected[i]);
}

TEST(DialogTranslation, FrenchAndOutOfRangeTablesAreNotTranslated) {
  EXPECT_TRUE(TranslateDialog(Lang(LanguageFrench), DialogTwins).empty());
  EXPECT_TRUE(TranslateDialog(Language{}, 256).empty());
  for (int empty : {0, 2, 7, 8, 15, 19, 23, 24, 25}) {
    EXPECT_TRUE(DialogLabels(empty).empty()) << empty;
  }
  EXPECT_EQ(DialogLabels(DialogTwins).size(), 28u);
  // Every pair of every table names a message that each language has.
  for (int table = 0; table < 30; ++table) {
    for (const DialogLabel& label : DialogLabels(table)) {
      for (int base : {LanguageFrench, LanguageEnglish, LanguageItalian, LanguageSpanish}) {
        EXPECT_FALSE(LoadMessage(Lang(base), label.message).empty())
            << table << " " << label.message;
      }
    }
  }
}

TEST(DialogTranslation, StandardButtons) {
  EXPECT_EQ(StandardButtonText(Lang(LanguageItalian), 2, ""), "Annulla");
  EXPECT_EQ(StandardButtonText(Lang(LanguageItalian), 2, "x"), "Annulla");
  EXPECT_EQ(StandardButtonText(Lang(LanguageItalian), 2, "Chiudi"), "Chiudi");
  EXPECT_EQ(StandardButtonText(Lang(LanguageItalian), 7, ""), "");
}

}  // namespace
}  // namespace kv
