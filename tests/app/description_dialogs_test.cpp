// The dialogs that describe the problem: problem type, solving options,
// information and additional information, the board as text, twins and the
// test-a-move choice; their opening states, edge cases and results, and the
// main window's commands that open them.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>

#include "app/commands.h"
#include "app/dialog_frame.h"
#include "app/forsyth_dialog.h"
#include "app/information_dialog.h"
#include "app/problem_type_dialog.h"
#include "app/solving_options_dialog.h"
#include "app/test_move_dialog.h"
#include "app/twins_dialog.h"
#include "app_fixture.h"
#include "solver/twins.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

const Language English{LanguageEnglish, nullptr};
const Language French{LanguageFrench, nullptr};

template <class T>
T* C(const QWidget& dialog, int id) {
  T* control = Control<T>(&dialog, id);
  if (control == nullptr) qFatal("control %d missing", id);
  return control;
}

// Types into a field the way the user does: the field has the focus.
void TypeInto(QDialog& dialog, QWidget* field, const QString& text) {
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  field->setFocus();
  QTest::keyClicks(field, text);
}

// Answers the next modal dialog from inside its event loop.
void WhenDialogOpens(const std::function<void(QDialog*)>& act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) qFatal("no dialog opened");
    act(dialog);
  });
}

}  // namespace

class DescriptionDialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void typeDialogShowsTheProblemType();
  void typeDialogSearchModeAllowsAnyKind();
  void typeDialogIsTranslatedWithIconButtons();
  void uncheckingVariationsDisablesThreeBoxesAndKeepsThem();
  void typedTryNumberFollowsTheTryBox();
  void helpmateOptionsHideTheSearchControls();
  void optionsCancelRestoresEverything();
  void awardIsSplitAndRebuilt();
  void authorsListEditing();
  void okAddsThePendingAuthor();
  void excludedAuthorsAreNotOffered();
  void backslashInAnExtraStringBecomesSlash();
  void forsythViewsAndTyping();
  void twinsListEditing();
  void a32ndTwinCannotBeAdded();
  void twinManTextsReadBack();
  void testMoveChoice();
  void windowCommandsOpenTheDialogs();
  void textsFitInEveryLanguage();
  void screenshots();
};

// ---- Problem type.

void DescriptionDialogsTest::typeDialogShowsTheProblemType() {
  ProblemType type;
  type.kind = KindDirect;
  type.moves = 3;
  ProblemTypeDialog direct(type, TypeModeProblem, English, "Type");
  QVERIFY(C<QRadioButton>(direct, 170)->isChecked());
  QCOMPARE(C<QSpinBox>(direct, 177)->value(), 3);
  QVERIFY(C<QRadioButton>(direct, 180)->isChecked());
  QVERIFY(C<QCheckBox>(direct, 178)->isHidden());
  // Choosing the helpmate shows "White begins".
  C<QRadioButton>(direct, 171)->click();
  QVERIFY(!C<QCheckBox>(direct, 178)->isHidden());
  C<QCheckBox>(direct, 178)->click();
  C<QRadioButton>(direct, 181)->click();
  C<QCheckBox>(direct, 175)->click();
  C<QPushButton>(direct, 1)->click();
  const ProblemType result = direct.Result();
  QCOMPARE(int(result.kind), KindHelp);
  QCOMPARE(int(result.moves), 3);
  QCOMPARE(int(result.flags), FlagWhiteBegins | FlagStalemate | FlagSeries);

  // A stored study keeps its 0 moves through OK.
  type.moves = 0;
  ProblemTypeDialog study(type, TypeModeProblem, English, "Type");
  C<QPushButton>(study, 1)->click();
  QCOMPARE(int(study.Result().moves), 0);

  // A twin's stipulation keeps its moves in one byte of the twins field: the
  // box stops at 223 there, where a larger number would wrap the byte.
  type.moves = 3;
  ProblemTypeDialog twin(type, TypeModeTwin, English, "Twin");
  C<QSpinBox>(twin, 177)->setValue(255);
  C<QPushButton>(twin, 1)->click();
  QCOMPARE(int(twin.Result().moves), MaxTwinStipulationMoves);
  ProblemTypeDialog problem(type, TypeModeProblem, English, "Type");
  C<QSpinBox>(problem, 177)->setValue(255);
  C<QPushButton>(problem, 1)->click();
  QCOMPARE(int(problem.Result().moves), 255);
}

void DescriptionDialogsTest::typeDialogSearchModeAllowsAnyKind() {
  ProblemType criterion;
  criterion.kind = 3;  // selfmate, one higher in the search
  criterion.moves = 4;
  criterion.flags = FlagMaximum;
  ProblemTypeDialog dialog(criterion, TypeModeSearch, English, "Search");
  QVERIFY(C<QRadioButton>(dialog, 172)->isChecked());
  QVERIFY(C<QCheckBox>(dialog, 176)->isChecked());
  QPushButton* initialise = C<QPushButton>(dialog, 3);
  QCOMPARE(initialise->text(), QStringLiteral("&Initialize"));
  initialise->click();
  for (int id = 170; id <= 173; ++id) QVERIFY(!C<QRadioButton>(dialog, id)->isChecked());
  QVERIFY(!C<QCheckBox>(dialog, 178)->isHidden());
  C<QPushButton>(dialog, 1)->click();
  const ProblemType result = dialog.Result();
  QCOMPARE(int(result.kind), 0);  // any kind
  QCOMPARE(int(result.flags), 0);
  QCOMPARE(int(result.moves), 0);

  ProblemTypeDialog french(criterion, TypeModeSearch, French, "Recherche");
  QCOMPARE(C<QPushButton>(french, 3)->text(), QStringLiteral("Initialise"));
}

void DescriptionDialogsTest::typeDialogIsTranslatedWithIconButtons() {
  ProblemTypeDialog english(ProblemType{}, TypeModeProblem, English, "Problem Type");
  QCOMPARE(english.windowTitle(), QStringLiteral("Problem Type"));
  QCOMPARE(WidgetText(C<QWidget>(english, 91)), QStringLiteral("&Kind:"));
  QCOMPARE(WidgetText(C<QWidget>(english, 181)), MessageQ(English, 135));
  QCOMPARE(C<QPushButton>(english, 2)->text(), QStringLiteral("Cancel"));
  QVERIFY(C<QPushButton>(english, 1)->isDefault());
  for (int id = 1; id <= 3; ++id) QVERIFY(!C<QPushButton>(english, id)->icon().isNull());
  std::vector<int> help;
  SetHelpHandler([&help](int context) { help.push_back(context); });
  C<QPushButton>(english, 3)->click();
  SetHelpHandler({});
  QCOMPARE(help, std::vector<int>{113});
  ProblemTypeDialog french(ProblemType{}, TypeModeProblem, French, "Type");
  QCOMPARE(C<QPushButton>(french, 2)->text(), QStringLiteral("Annuler"));
  QCOMPARE(WidgetText(C<QWidget>(french, 174)), MessageQ(French, 179));
}

// ---- Solving options.

void DescriptionDialogsTest::uncheckingVariationsDisablesThreeBoxesAndKeepsThem() {
  SolveOptions options;
  SolvingOptionsDialog dialog(options, KindDirect, OptionGroup::Play, English,
                              "&Solving Options...");
  QVERIFY(dialog.windowTitle().endsWith(QStringLiteral(":Direct")));
  C<QCheckBox>(dialog, 143)->click();
  QVERIFY(!C<QCheckBox>(dialog, 143)->isChecked());
  for (int id = 144; id <= 146; ++id) QVERIFY(!C<QCheckBox>(dialog, id)->isEnabled());
  QVERIFY(C<QCheckBox>(dialog, 144)->isChecked());
  QCOMPARE(dialog.logic().working[Option::Separators], 1);
  QCOMPARE(dialog.logic().working[Option::DualizedVariations], 1);
  // The tries' group has its own variations box.
  C<QRadioButton>(dialog, 402)->click();
  QVERIFY(C<QCheckBox>(dialog, 143)->isChecked());
  QVERIFY(C<QCheckBox>(dialog, 144)->isEnabled());
}

void DescriptionDialogsTest::typedTryNumberFollowsTheTryBox() {
  SolveOptions options;
  SolvingOptionsDialog dialog(options, KindDirect, OptionGroup::Play, English, "Options");
  QSpinBox* tries = C<QSpinBox>(dialog, 147);
  tries->selectAll();
  TypeInto(dialog, tries, "0");
  QVERIFY(!C<QCheckBox>(dialog, 141)->isChecked());
  QCOMPARE(dialog.logic().working[Option::TryRefutations], 0);
  tries->selectAll();
  QTest::keyClicks(tries, "3");
  QVERIFY(C<QCheckBox>(dialog, 141)->isChecked());
  QCOMPARE(dialog.logic().working[Option::TryRefutations], 3);
  // Clicking the box writes 0 or 1 into the field.
  C<QCheckBox>(dialog, 141)->click();
  QCOMPARE(tries->value(), 0);
}

void DescriptionDialogsTest::helpmateOptionsHideTheSearchControls() {
  SolveOptions options;
  SolvingOptionsDialog help(options, KindHelp, OptionGroup::Play, English, "Options");
  for (int id : {141, 142, 147, 401, 402, 92}) QVERIFY2(C<QWidget>(help, id)->isHidden(), "hidden");
  QVERIFY(!C<QWidget>(help, 140)->isHidden());
  // In the test-a-move preset the search boxes are greyed.
  SolveOptions testing;
  testing[Option::Kind] = TestMovePreset;
  SolvingOptionsDialog test(testing, KindDirect, OptionGroup::Play, English, "Options");
  for (int id : {140, 141, 142, 147}) QVERIFY(!C<QWidget>(test, id)->isEnabled());
  QVERIFY(C<QWidget>(test, 152)->isEnabled());
}

void DescriptionDialogsTest::optionsCancelRestoresEverything() {
  SolveOptions options;
  const SolveOptions before = options;
  WhenDialogOpens([](QDialog* d) {
    C<QCheckBox>(*d, 152)->click();
    C<QRadioButton>(*d, 202)->click();
    C<QPushButton>(*d, 2)->click();
  });
  QVERIFY(!RunSolvingOptionsDialog(nullptr, English, "Options", options, KindDirect,
                                   OptionGroup::Play, false));
  QVERIFY(options.values == before.values);
  // OK with a notation change only asks for the text to be refreshed.
  WhenDialogOpens([](QDialog* d) {
    C<QRadioButton>(*d, 202)->click();
    C<QPushButton>(*d, 1)->click();
  });
  QVERIFY(RunSolvingOptionsDialog(nullptr, English, "Options", options, KindDirect,
                                  OptionGroup::Play, false));
  QCOMPARE(options[Option::CaptureSign], 1);
  QCOMPARE(options.perKind[KindDirect][IndexOf(Option::CaptureSign)], 1);
}

// ---- Information.

void DescriptionDialogsTest::awardIsSplitAndRebuilt() {
  CurrentProblem problem;
  problem.award = "12\xB0 Prize";
  AuthorAndSourceLists lists;
  InformationDialog dialog(problem, lists, English, "Information");
  QCOMPARE(C<QSpinBox>(dialog, 113)->value(), 12);
  QCOMPARE(C<QComboBox>(dialog, 114)->currentText(), QStringLiteral("Prize"));
  QCOMPARE(C<QComboBox>(dialog, 114)->count(), 9);  // an empty line and eight awards
  C<QSpinBox>(dialog, 113)->setValue(0);
  C<QComboBox>(dialog, 114)->setEditText("Commendation");
  dialog.Store(problem);
  QCOMPARE(problem.award, std::string("Commendation"));
  InformationDialog again(problem, lists, English, "Information");
  QCOMPARE(C<QSpinBox>(again, 113)->text().trimmed(), QString());  // ordinal 0 shows nothing
}

void DescriptionDialogsTest::authorsListEditing() {
  AuthorLines list = OpenAuthorLines("Smith, John;Brown");
  QCOMPARE(list.lines.size(), std::size_t(2));
  QCOMPARE(list.lines[0], std::string("Smith, John"));
  AddAuthorLine(list, "");
  QCOMPARE(list.lines.size(), std::size_t(2));
  list.selected = 1;
  AddAuthorLine(list, std::string(60, 'x'));  // before the selected line, cut to 47
  QCOMPARE(list.lines[1], std::string(47, 'x'));
  QCOMPARE(list.selected, 1);
  list.selected = 2;
  RemoveAuthorLine(list);  // the last line: the selection moves to the new last line
  QCOMPARE(list.lines.size(), std::size_t(2));
  QCOMPARE(list.selected, 1);
  RemoveAuthorLine(list);
  RemoveAuthorLine(list);
  QVERIFY(list.lines.empty());
  QCOMPARE(list.selected, -1);

  std::vector<AuthorEntry> authors(2);
  authors[0].name = "Loyd, Samuel";
  authors[0].birth = "1841";
  authors[0].death = "1911";
  authors[0].country = "USA";
  authors[1].name = "Mansfield, Comins";
  QCOMPARE(FindAuthor(authors, "Mansfield, Comins B."), &authors[1]);  // 14 characters looked up
  QCOMPARE(FindAuthor(authors, ""), nullptr);
  QCOMPARE(AuthorInformationText(authors[0]), std::string("Loyd, Samuel 1841-1911 USA"));
}

void DescriptionDialogsTest::okAddsThePendingAuthor() {
  CurrentProblem problem;
  problem.authors = "Smith, John";
  AuthorAndSourceLists lists;
  InformationDialog dialog(problem, lists, English, "Information");
  QCOMPARE(C<QListWidget>(dialog, 111)->count(), 1);
  QComboBox* entry = C<QComboBox>(dialog, 110);
  TypeInto(dialog, entry->lineEdit(), "Brown, Ann");
  C<QLineEdit>(dialog, 115)->setText("a comment");
  dialog.Store(problem);
  QCOMPARE(problem.authors, std::string("Smith, John;Brown, Ann"));
  QCOMPARE(problem.comment, std::string("a comment"));
  // "Add", then a double-click takes the line back into the entry field.
  QListWidget* list = C<QListWidget>(dialog, 111);
  C<QPushButton>(dialog, 200)->click();
  QCOMPARE(list->count(), 2);
  list->setCurrentRow(0);
  emit list->itemDoubleClicked(list->item(0));
  QCOMPARE(list->count(), 1);
  QCOMPARE(entry->currentText(), QStringLiteral("Smith, John"));
}

void DescriptionDialogsTest::excludedAuthorsAreNotOffered() {
  AuthorAndSourceLists lists;
  lists.authors.resize(3);
  lists.authors[0].name = "A";
  lists.authors[1].name = "B";
  lists.authors[1].excluded = true;
  lists.authors[2].name = "C";
  lists.sources = {"Source one"};
  CurrentProblem problem;
  InformationDialog info(problem, lists, English, "Information");
  QCOMPARE(C<QComboBox>(info, 110)->count(), 2);
  QCOMPARE(C<QComboBox>(info, 110)->itemText(1), QStringLiteral("C"));
  AdditionalInformationDialog more(problem.extraStrings, lists, English, "More");
  QCOMPARE(C<QComboBox>(more, 101)->count(), 2);  // dedication: authors
  QCOMPARE(C<QComboBox>(more, 103)->count(), 1);  // second source: sources
  QCOMPARE(WidgetText(C<QWidget>(more, 93)), QStringLiteral("Source &2:"));
}

void DescriptionDialogsTest::backslashInAnExtraStringBecomesSlash() {
  CurrentProblem problem;
  AuthorAndSourceLists lists;
  AdditionalInformationDialog dialog(problem.extraStrings, lists, English, "More");
  QComboBox* dedication = C<QComboBox>(dialog, 101);
  TypeInto(dialog, dedication->lineEdit(), "A\\B");
  QCOMPARE(dedication->currentText(), QStringLiteral("A/B"));
  StoreExtraStrings(dialog.Texts(), problem);
  // What is shown is what comes back from the record.
  const auto reread = SplitExtraStrings(JoinExtraStrings(problem.extraStrings));
  QCOMPARE(reread[ExtraDedication], std::string("A/B"));
  // Text that arrives with a backslash another way is cleaned when stored.
  StoreExtraStrings({"x\\y", "", "", "", ""}, problem);
  QCOMPARE(problem.extraStrings[0], std::string("x/y"));
}

// ---- The board as text.

void DescriptionDialogsTest::forsythViewsAndTyping() {
  Board board = BoardFromFen("4k3/8/8/8/8/8/8/4K3");
  ForsythDialog dialog(board, 0, English, "Copy");
  QPlainTextEdit* text = C<QPlainTextEdit>(dialog, 101);
  QCOMPARE(text->toPlainText(), QStringLiteral("4k38888884K"));
  C<QCheckBox>(dialog, 102)->click();
  QCOMPARE(text->toPlainText(), QStringLiteral("4k3/8/8/8/8/8/8/4K3"));
  C<QCheckBox>(dialog, 103)->click();
  const QStringList rows = text->toPlainText().split('\n');
  QCOMPARE(rows.size(), 10);
  for (const QString& row : rows) QCOMPARE(row.size(), 10);
  C<QCheckBox>(dialog, 103)->click();  // back to Forsyth
  int changes = 0;
  dialog.boardChanged = [&changes] { ++changes; };
  text->clear();
  TypeInto(dialog, text, "K");
  QVERIFY(changes > 0);
  QCOMPARE(int(board[FirstSquare]), int(WhiteKing));
  QCOMPARE(int(board[FirstSquare + 4]), int(Empty));  // the rest is emptied
}

// ---- Twins.

void DescriptionDialogsTest::twinsListEditing() {
  Board board = BoardFromFen("4k3/8/8/8/8/8/8/4K3");
  TwinsDialog dialog("", board, English, "Twins");
  QVERIFY(C<QRadioButton>(dialog, 232)->isChecked());
  QVERIFY(C<QRadioButton>(dialog, 201)->isChecked());
  QVERIFY(C<QLineEdit>(dialog, 301)->isHidden());
  // "Move a man" shows two squares, "Add a man" one square and the man.
  C<QRadioButton>(dialog, 202)->click();
  QVERIFY(!C<QLineEdit>(dialog, 301)->isHidden());
  QVERIFY(!C<QLineEdit>(dialog, 302)->isHidden());
  QVERIFY(C<QLineEdit>(dialog, 303)->isHidden());
  C<QLineEdit>(dialog, 301)->setText("e1");
  C<QLineEdit>(dialog, 302)->setText("f2");
  C<QPushButton>(dialog, 101)->click();
  C<QRadioButton>(dialog, 204)->click();
  C<QLineEdit>(dialog, 301)->setText("d4");
  C<QLineEdit>(dialog, 303)->setText("Qb");
  C<QPushButton>(dialog, 101)->click();
  QListWidget* list = C<QListWidget>(dialog, 110);
  QCOMPARE(list->count(), 2);
  QCOMPARE(list->item(0)->text(), QStringLiteral("Kwe1->f2"));
  QCOMPARE(list->currentRow(), 1);
  // Selecting a line fills the fields; Modify keeps the black man black.
  list->setCurrentRow(1);
  QCOMPARE(C<QLineEdit>(dialog, 303)->text(), QStringLiteral("Qb"));
  C<QLineEdit>(dialog, 301)->setText("d5");
  C<QPushButton>(dialog, 102)->click();
  QCOMPARE(dialog.editor().entries[1].man, int(BlackQueen));
  QCOMPARE(dialog.editor().entries[1].square1, 27);  // d5
  // A square field that names no square adds and modifies nothing.
  for (const char* wrong : {"i9", "", "e0", "5e"}) {
    C<QLineEdit>(dialog, 301)->setText(wrong);
    C<QPushButton>(dialog, 101)->click();
    C<QPushButton>(dialog, 102)->click();
    QCOMPARE(list->count(), 2);
    QCOMPARE(dialog.editor().entries[1].square1, 27);
  }
  // Successive mode puts "then " before the entries.
  C<QRadioButton>(dialog, 233)->click();
  QVERIFY(list->item(0)->text().startsWith(QStringLiteral("then ")));
  // Removing the last line selects the one before; no entries store nothing.
  C<QPushButton>(dialog, 103)->click();
  QCOMPARE(list->count(), 1);
  QCOMPARE(list->currentRow(), 0);
  C<QPushButton>(dialog, 103)->click();
  QCOMPARE(dialog.Field(), std::string());

  std::string twins = "keep";
  WhenDialogOpens([](QDialog* d) { C<QPushButton>(*d, 2)->click(); });
  QVERIFY(!RunTwinsDialog(nullptr, English, "Twins", board, twins));
  QCOMPARE(twins, std::string("keep"));
}

void DescriptionDialogsTest::a32ndTwinCannotBeAdded() {
  TwinsEditor editor;
  for (int i = 0; i < MaxTwinEntries; ++i) QVERIFY(AddTwin(editor, TwinEntry{}));
  QVERIFY(!AddTwin(editor, TwinEntry{}));
  QCOMPARE(int(editor.entries.size()), 31);
  QCOMPARE(TwinCount(TwinsEditorField(editor)), 31);

  Board board = EmptyBoard();
  TwinsDialog dialog(TwinsEditorField(editor), board, English, "Twins");
  C<QPushButton>(dialog, 101)->click();
  QCOMPARE(C<QListWidget>(dialog, 110)->count(), 31);
}

void DescriptionDialogsTest::twinManTextsReadBack() {
  for (const Language& language : {English, French}) {
    for (int man : {int(WhiteRook), int(WhiteKing), int(BlackPawn), int(BlackQueen)}) {
      QCOMPARE(ParseTwinMan(TwinManText(man, language), language), man);
    }
  }
  QCOMPARE(ParseTwinMan("Z", English), int(WhiteKing));  // unknown letter: a king
  QCOMPARE(ParseTwinMan("QB", English), int(BlackQueen));
  QCOMPARE(ParseTwinSquare("a8").value_or(-1), 0);
  QCOMPARE(ParseTwinSquare("H1").value_or(-1), 63);
  // Off the board is no square, not a8.
  for (const char* wrong : {"i9", "a9", "`1", "e", ""}) QVERIFY(!ParseTwinSquare(wrong));
}

// ---- Test a move.

void DescriptionDialogsTest::testMoveChoice() {
  QCOMPARE(RunTestMoveDialog(nullptr, English, "Test", {}, QFont()), 0);
  const QStringList moves = {"Qa1-a2", "Qa1-b2", "Qa1-c3"};
  TestMoveDialog dialog(moves, QFont(), English, "Test");
  QListWidget* list = C<QListWidget>(dialog, 110);
  QCOMPARE(list->currentRow(), 0);
  QCOMPARE(C<QPushButton>(dialog, 122)->text(), QStringLiteral("&Test"));
  emit list->itemDoubleClicked(list->item(1));
  QCOMPARE(dialog.Answer(), 2);

  WhenDialogOpens([](QDialog* d) {
    C<QListWidget>(*d, 110)->setCurrentRow(2);
    C<QPushButton>(*d, 122)->click();
  });
  QCOMPARE(RunTestMoveDialog(nullptr, English, "Test", moves, QFont()), 3);
  WhenDialogOpens([](QDialog* d) { C<QPushButton>(*d, 2)->click(); });
  QCOMPARE(RunTestMoveDialog(nullptr, English, "Test", moves, QFont()), 0);
}

// ---- The window's commands.

void DescriptionDialogsTest::windowCommandsOpenTheDialogs() {
  Fixture f;
  const std::pair<int, const char*> commands[] = {
      {CmdInformation, "InformationDialog"}, {CmdAdditionalInfo, "AdditionalInformationDialog"},
      {CmdProblemType, "ProblemTypeDialog"}, {CmdSolvingOptions, "SolvingOptionsDialog"},
      {CmdCopyBoard, "ForsythDialog"},       {CmdTwins, "TwinsDialog"}};
  for (const auto& [command, name] : commands) {
    QString opened;
    WhenDialogOpens([&opened](QDialog* d) {
      opened = d->objectName();
      C<QPushButton>(*d, 1)->click();
    });
    f.state->problem.infoModified = false;
    f.window->Dispatch(command);
    QCOMPARE(opened, QString::fromLatin1(name));
  }
  QVERIFY(f.log.unhandled.isEmpty());
  // OK on the type dialog marks the information as changed.
  WhenDialogOpens([](QDialog* d) {
    C<QRadioButton>(*d, 172)->click();
    C<QPushButton>(*d, 1)->click();
  });
  f.state->problem.infoModified = false;
  f.window->Dispatch(CmdProblemType);
  QVERIFY(f.state->problem.infoModified);
  QCOMPARE(int(f.state->problem.type.kind), KindSelf);
}

// ---- Every language.

namespace {

// The dialogs of this file over sample data, in one language.
std::vector<std::unique_ptr<QDialog>> SampleDialogs(const Language& language, Board& board) {
  static const AuthorAndSourceLists lists;
  CurrentProblem problem;
  problem.authors = "Smith, John;Brown, Ann";
  problem.award = "2\xB0 Prize";
  TwinEntry entries[2];
  entries[0].kind = TwinMove;
  entries[0].square1 = *ParseTwinSquare("e1");
  entries[0].square2 = *ParseTwinSquare("f2");
  entries[1].kind = TwinRotate90;
  const std::string twins = BuildTwinsField(false, entries, 2);
  ProblemType help;
  help.kind = KindHelp;
  help.moves = 3;
  std::vector<std::unique_ptr<QDialog>> dialogs;
  dialogs.push_back(std::make_unique<ProblemTypeDialog>(help, TypeModeSearch, language, "Type"));
  dialogs.push_back(std::make_unique<SolvingOptionsDialog>(SolveOptions{}, KindDirect,
                                                           OptionGroup::Play, language, "Options"));
  dialogs.push_back(std::make_unique<InformationDialog>(problem, lists, language, "Information"));
  dialogs.push_back(
      std::make_unique<AdditionalInformationDialog>(problem.extraStrings, lists, language, "More"));
  dialogs.push_back(std::make_unique<ForsythDialog>(board, 1, language, "Forsyth"));
  dialogs.push_back(std::make_unique<TwinsDialog>(twins, board, language, "Twins"));
  dialogs.push_back(
      std::make_unique<TestMoveDialog>(QStringList{"Ke1-e2", "Ke1-f2"}, QFont(), language, "Test"));
  return dialogs;
}

}  // namespace

void DescriptionDialogsTest::textsFitInEveryLanguage() {
  int checked = 0;
  for (int base : {LanguageFrench, LanguageEnglish, LanguageItalian, LanguageSpanish}) {
    const Language language{base, nullptr};
    Board board = BoardFromFen("4k3/8/8/8/8/8/8/4K3");
    for (const auto& dialog : SampleDialogs(language, board)) {
      dialog->show();
      for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w)) continue;
        const QString what =
            dialog->objectName() + " " + w->objectName() + " " + QString::number(base);
        QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(what));
        ++checked;
      }
      dialog->hide();
    }
  }
  QVERIFY(checked > 200);
}

// With KESTROVALE_SCREENSHOTS naming a folder, the problem-type, solving
// options and twins dialogs are drawn into it in English and French.
void DescriptionDialogsTest::screenshots() {
  const QString folder = qEnvironmentVariable("KESTROVALE_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("KESTROVALE_SCREENSHOTS not set");
  for (const auto& [language, suffix] :
       {std::pair{English, QStringLiteral("en")}, std::pair{French, QStringLiteral("fr")}}) {
    const bool fr = suffix == QLatin1String("fr");
    ProblemType type;
    type.kind = KindHelp;
    type.moves = 3;
    ProblemTypeDialog typeDialog(
        type, TypeModeProblem, language,
        fr ? QStringLiteral("Type de problème") : QStringLiteral("Problem Type"));
    SolvingOptionsDialog options(
        SolveOptions{}, KindDirect, OptionGroup::Play, language,
        fr ? QStringLiteral("Options de solution") : QStringLiteral("Solving Options"));
    Board board = BoardFromFen("4k3/8/8/3p4/8/8/8/4K3");
    TwinEntry entries[3];
    entries[0].kind = TwinMove;
    entries[0].square1 = *ParseTwinSquare("e1");
    entries[0].square2 = *ParseTwinSquare("f2");
    entries[1].kind = TwinAdd;
    entries[1].square1 = *ParseTwinSquare("c4");
    entries[1].man = BlackKnight;
    entries[2].kind = TwinRotate90;
    TwinsDialog twins(BuildTwinsField(false, entries, 3), board, language,
                      fr ? QStringLiteral("Jumeaux") : QStringLiteral("Twins"));
    C<QListWidget>(twins, 110)->setCurrentRow(1);
    const std::pair<QDialog*, QString> shots[] = {
        {&typeDialog, "problem-type"}, {&options, "solving-options"}, {&twins, "twins"}};
    for (const auto& [dialog, name] : shots) {
      dialog->show();
      QVERIFY(dialog->grab().save(folder + "/dialog-" + name + "-" + suffix + ".png"));
    }
  }
}

QTEST_MAIN(DescriptionDialogsTest)
#include "description_dialogs_test.moc"
