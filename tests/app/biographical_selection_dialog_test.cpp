// The biographical selection dialog: its opening state, what OK keeps and
// marks, "&Initialize", another author list, and the window's command.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/biographical_selection_dialog.h"
#include "app/commands.h"
#include "app/description_commands.h"
#include "app/dialog_frame.h"
#include "app_fixture.h"
#include "config/ini_file.h"
#include "config/settings.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

AuthorAndSourceLists FourAuthors() {
  AuthorAndSourceLists lists;
  lists.authors = ParseAuthorList(
      "Loyd, Sam;1841;1911;USA;\n"
      "Anonymous;;;Italy;\n"
      "Kubbel, Leonid;1891;1942;Russia;\n"
      "Petrovic, Nenad;1907;1989;Yugoslavia;\n");
  lists.countries = {"Italy", "Russia", "USA", "Yugoslavia"};
  return lists;
}

QStringList ResultNames(const BiographicalSelectionDialog& dialog) {
  QStringList names;
  for (const QString& line : dialog.result()->toPlainText().split('\n', Qt::SkipEmptyParts)) {
    names << line.section('\t', 0, 0);
  }
  return names;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

}  // namespace

class BiographicalDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void openingShowsTheFieldsAsLastUsed();
  void okFiltersAndStaysOpen();
  void updateMarksTheDroppedAuthors();
  void initializeClearsTheFields();
  void anotherAuthorListIsNamedAndRead();
  void textsFitInEveryLanguage();
  void commandOpensTheDialog();
};

void BiographicalDialogTest::openingShowsTheFieldsAsLastUsed() {
  AuthorAndSourceLists lists = FourAuthors();
  BiographicalSelection selection{1900, 0, 0, 1950, "Rus"};
  BiographicalSelectionDialog dialog(selection, lists, Language{},
                                     QStringLiteral("Biographical Selection"));
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Biographical Selection"));
  QCOMPARE(dialog.bornFrom()->text(), QStringLiteral("1900"));
  QCOMPARE(dialog.bornTo()->text(), QStringLiteral("0"));
  QCOMPARE(dialog.diedTo()->text(), QStringLiteral("1950"));
  QCOMPARE(dialog.country()->currentText(), QStringLiteral("Rus"));
  QCOMPARE(dialog.country()->count(), 4);
  QCOMPARE(dialog.country()->itemText(3), QStringLiteral("Yugoslavia"));
  QVERIFY(dialog.result()->toPlainText().isEmpty());
  QVERIFY(!dialog.updateList()->isChecked());
  // English labels over the French layout; the French dialog keeps its own.
  QCOMPARE(Control<QGroupBox>(&dialog, 91)->title(), QStringLiteral("&Birth"));
  QCOMPARE(Control<QGroupBox>(&dialog, 92)->title(), QStringLiteral("&Death"));
  QCOMPARE(dialog.listButton()->text(), QStringLiteral("&List..."));
  QCOMPARE(dialog.updateList()->text(), QStringLiteral("&Update current author list"));
  QCOMPARE(Control<QPushButton>(&dialog, 3)->text(), QStringLiteral("Help"));
  BiographicalSelectionDialog french(selection, lists, Language{LanguageFrench, nullptr},
                                     QString());
  QCOMPARE(Control<QGroupBox>(&french, 91)->title(), QStringLiteral("&Naissance"));
  QCOMPARE(french.initializeButton()->text(), QStringLiteral("&Initialiser"));
  // Help opens the dialog's page.
  int help = 0;
  SetHelpHandler([&help](int context) { help = context; });
  Control<QPushButton>(&dialog, 3)->click();
  SetHelpHandler(nullptr);
  QCOMPARE(help, HelpContextBiographical);
}

void BiographicalDialogTest::okFiltersAndStaysOpen() {
  AuthorAndSourceLists lists = FourAuthors();
  BiographicalSelection selection;
  BiographicalSelectionDialog dialog(selection, lists, Language{}, QString());
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  // Birth from 1900 drops only known earlier births: the author without a
  // birth year stays.
  dialog.bornFrom()->setText(QStringLiteral("1900"));
  QTest::keyClick(dialog.bornFrom(), Qt::Key_Return);
  QVERIFY(dialog.isVisible());
  QCOMPARE(ResultNames(dialog), (QStringList{"Anonymous", "Petrovic, Nenad"}));
  QCOMPARE(dialog.total()->text(), QStringLiteral("Total : 2  "));
  QCOMPARE(selection.bornFrom, 1900);
  // Birth to 1950 drops the unknown birth.
  dialog.bornFrom()->setText(QStringLiteral("0"));
  dialog.bornTo()->setText(QStringLiteral("1950"));
  Control<QPushButton>(&dialog, 1)->click();
  QCOMPARE(ResultNames(dialog), (QStringList{"Loyd, Sam", "Kubbel, Leonid", "Petrovic, Nenad"}));
  // The country is a part of the author's country; an empty year is 0.
  dialog.bornTo()->clear();
  dialog.country()->setEditText(QStringLiteral("slav"));
  Control<QPushButton>(&dialog, 1)->click();
  QCOMPARE(ResultNames(dialog), (QStringList{"Petrovic, Nenad"}));
  QCOMPARE(selection.bornTo, 0);
  QCOMPARE(selection.country, std::string("slav"));
  // A line holds the four fields, tab-separated.
  QCOMPARE(dialog.result()->toPlainText(),
           QStringLiteral("Petrovic, Nenad\t1907\t1989\tYugoslavia\n"));
  // Without the update box nothing is marked; Escape closes.
  for (const AuthorEntry& author : lists.authors) QVERIFY(!author.excluded);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QVERIFY(!dialog.isVisible());
}

void BiographicalDialogTest::updateMarksTheDroppedAuthors() {
  AuthorAndSourceLists lists = FourAuthors();
  BiographicalSelection selection;
  BiographicalSelectionDialog dialog(selection, lists, Language{}, QString());
  dialog.diedTo()->setText(QStringLiteral("1950"));
  dialog.updateList()->setChecked(true);
  dialog.accept();
  QCOMPARE(OfferedAuthors(lists.authors),
           (std::vector<std::string>{"Loyd, Sam", "Kubbel, Leonid"}));
  // A wider selection with update gives the dropped authors back.
  dialog.diedTo()->setText(QStringLiteral("2000"));
  dialog.accept();
  QCOMPARE(OfferedAuthors(lists.authors).size(), 3u);
  QVERIFY(lists.authors[1].excluded);  // no death year
}

void BiographicalDialogTest::initializeClearsTheFields() {
  AuthorAndSourceLists lists = FourAuthors();
  BiographicalSelection selection{1800, 1900, 1850, 1950, "USA"};
  BiographicalSelectionDialog dialog(selection, lists, Language{}, QString());
  dialog.initializeButton()->click();
  for (QLineEdit* year : {dialog.bornFrom(), dialog.bornTo(), dialog.diedFrom(), dialog.diedTo()}) {
    QCOMPARE(year->text(), QStringLiteral("0"));
  }
  QVERIFY(dialog.country()->currentText().isEmpty());
  // The kept selection changes only when the selection is applied.
  QCOMPARE(selection.bornFrom, 1800);
  dialog.accept();
  QCOMPARE(ResultNames(dialog).size(), 4);
  QCOMPARE(selection.bornFrom, 0);
  QVERIFY(selection.country.empty());
}

void BiographicalDialogTest::anotherAuthorListIsNamedAndRead() {
  QTemporaryDir dir;
  const QString list = dir.filePath(QStringLiteral("composers.txt"));
  WriteFile(list, "Mansfield, Comins;1896;1975;England;\nThree;1;2;X\nNot read;1;2;X;\n");
  WriteFile(dir.filePath(QStringLiteral("SOURCES.TXT")), "The Problemist\n#\nEngland\nWales;x\n");
  const std::string ini = dir.filePath(QStringLiteral("kestro32.ini")).toStdString();
  AppState state;
  state.authorListFile = dir.filePath(QStringLiteral("missing.txt")).toStdString();
  QVERIFY(DialogLists(state).authors.empty());
  QVERIFY(ChangeAuthorList(state, list.toStdString(), ini));
  QCOMPARE(state.authorListFile, list.toStdString());
  // The line with three ";" ends the reading.
  QCOMPARE(state.dialogLists.authors.size(), 1u);
  QCOMPARE(state.dialogLists.countries, (std::vector<std::string>{"England", "Wales"}));
  IniDocument document;
  QCOMPARE(ReadIniFile(ini, document), IniReadResult::Ok);
  QCOMPARE(LoadAuthorListFile(document), list.toStdString());

  // The dialog offers the countries of the list it was given anew and keeps
  // the typed country.
  BiographicalSelection selection;
  state.dialogLists.countries.clear();
  BiographicalSelectionDialog dialog(selection, state.dialogLists, Language{}, QString());
  QCOMPARE(dialog.country()->count(), 0);
  dialog.country()->setEditText(QStringLiteral("Eng"));
  dialog.chooseAuthorList = [&](QWidget*) {
    ChangeAuthorList(state, list.toStdString(), ini);
    return true;
  };
  dialog.listButton()->click();
  QCOMPARE(dialog.country()->count(), 2);
  QCOMPARE(dialog.country()->currentText(), QStringLiteral("Eng"));
  dialog.accept();
  QCOMPARE(ResultNames(dialog), QStringList{"Mansfield, Comins"});
}

void BiographicalDialogTest::textsFitInEveryLanguage() {
  int checked = 0;
  for (int base : {LanguageFrench, LanguageEnglish, LanguageItalian, LanguageSpanish}) {
    AuthorAndSourceLists lists = FourAuthors();
    BiographicalSelection selection;
    BiographicalSelectionDialog dialog(selection, lists, Language{base, nullptr}, QString());
    dialog.show();
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
      if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w) &&
          !qobject_cast<QGroupBox*>(w)) {
        continue;
      }
      const QString what = w->objectName() + " " + QString::number(base);
      QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(what));
      ++checked;
    }
  }
  QVERIFY(checked >= 40);
}

void BiographicalDialogTest::commandOpensTheDialog() {
  QTemporaryDir dir;
  const QString list = dir.filePath(QStringLiteral("auteurs.txt"));
  WriteFile(list, "Loyd, Sam;1841;1911;USA;\nAnonymous;;;Italy;\n");
  Fixture f;
  f.state->authorListFile = list.toStdString();
  f.state->biographical.diedFrom = 1900;
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<BiographicalSelectionDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    seen = true;
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Biographical Selection"));
    QCOMPARE(dialog->diedFrom()->text(), QStringLiteral("1900"));
    dialog->diedTo()->setText(QStringLiteral("1950"));
    dialog->updateList()->setChecked(true);
    dialog->accept();
    dialog->reject();
  });
  f.window->Dispatch(CmdBiographical);
  QVERIFY(seen);
  QVERIFY(f.log.unhandled.isEmpty());
  // The state keeps the fields and the marks for the information dialogs.
  QCOMPARE(f.state->biographical.diedTo, 1950);
  QCOMPARE(OfferedAuthors(DialogLists(*f.state).authors), std::vector<std::string>{"Loyd, Sam"});
}

QTEST_MAIN(BiographicalDialogTest)
#include "biographical_selection_dialog_test.moc"
