// The about box, the display options, the file choice of Open, Save As and
// the string files, and the message about a configuration that cannot be read.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "app/about_dialog.h"
#include "app/choose_file_logic.h"
#include "app/commands.h"
#include "app/dialog_frame.h"
#include "app/display_options_dialog.h"
#include "app/startup.h"
#include "app_fixture.h"
#include "modal_script.h"
#include "print/print_job.h"
#include "print/print_options_dialog.h"

using namespace kv;
using namespace kv::app;
using namespace kv::app::test;

namespace {

template <class T>
T* C(const QWidget* dialog, int id) {
  T* control = Control<T>(dialog, id);
  if (control == nullptr) qFatal("control %d missing", id);
  return control;
}

// A window whose file choice is recorded: the kinds asked for, answered
// with `answer` (empty: cancelled).
struct ChoiceWindow {
  AppState state;
  PromptLog log;
  std::vector<int> kinds;
  std::string answer;
  std::unique_ptr<MainWindow> window;
  ChoiceWindow() {
    Prompts prompts = RecordingPrompts(log);
    prompts.chooseFile = [this](const Language&, std::string& name, int kind) {
      kinds.push_back(kind);
      if (answer.empty()) return false;
      name = answer;
      return true;
    };
    window = std::make_unique<MainWindow>(state, prompts);
  }
};

// The dialogs of this file in one language, as the window opens them.
std::vector<std::unique_ptr<QDialog>> SampleDialogs(const Language& language,
                                                    OutputSettings& output, PaneFont& font,
                                                    QPrinter& printer) {
  std::vector<std::unique_ptr<QDialog>> dialogs;
  dialogs.push_back(std::make_unique<AboutDialog>(language, QStringLiteral("About Kestrovale")));
  dialogs.push_back(std::make_unique<DisplayOptionsDialog>(
      output, font, language, QStringLiteral("Display Options"), nullptr));
  auto options = std::make_unique<print::PrintOptionsDialog>(output, printer);
  options->onHelp = [](int) {};
  options->Translate(language, QStringLiteral("Print Options"));
  dialogs.push_back(std::move(options));
  return dialogs;
}

}  // namespace

class WindowOptionsTest : public QObject {
  Q_OBJECT
 private slots:
  void aboutBoxOpensAndCloses();
  void displayOptionsTakeEffectAtOnce();
  void fontChoiceDecidesTheNotation();
  void openAndSaveAsChooseTheirKind();
  void fileDialogOfAKindKeepsTheNameAsTyped();
  void unreadableConfigurationIsReported();
  void openingAnInputFileNamesTheProblemsLeftOut();
  void textsFitInEveryLanguage();
  void screenshots();
};

void WindowOptionsTest::aboutBoxOpensAndCloses() {
  Fixture f;
  f.window->show();
  std::vector<int> helped;
  SetHelpHandler([&](int context) { helped.push_back(context); });
  QString title, version, cancel;
  ModalScript script;
  script
      .then<AboutDialog>([&](AboutDialog* about) {
        title = about->windowTitle();
        version = C<QLabel>(about, 102)->text();
        QTest::mouseClick(C<QPushButton>(about, 3), Qt::LeftButton);
        QTest::keyClick(about, Qt::Key_Escape);
      })
      .then<AboutDialog>([&](AboutDialog* about) {
        cancel = C<QPushButton>(about, 2)->text();
        QTest::keyClick(about, Qt::Key_Return);
      });
  script.start();
  f.window->Dispatch(CmdAbout);
  f.window->Dispatch(CmdLanguageFirst);  // Français
  f.window->Dispatch(CmdAbout);
  SetHelpHandler(nullptr);
  QVERIFY(script.done());
  QVERIFY(title.startsWith(QStringLiteral("About Kestrovale")));
  QCOMPARE(version, QStringLiteral("Version 2.20 32 bits"));
  QCOMPARE(helped, std::vector<int>{AboutHelpContext});
  QCOMPARE(cancel, QStringLiteral("Annuler"));
  QVERIFY(f.log.unhandled.isEmpty());
}

void WindowOptionsTest::displayOptionsTakeEffectAtOnce() {
  Fixture f;
  f.window->show();
  AppState& state = *f.state;
  state.output[OutputSquares3D] = 1;
  state.output[OutputFigurineNotation] = 0;
  f.window->SetSolutionPaneText("1.Qb7! threat:\r\n");
  const std::string face = FaceName(state.paneFont);

  QString squaresText;
  bool squaresChecked = false;
  QString paneWhileOpen;
  ModalScript script;
  script.then<DisplayOptionsDialog>([&](DisplayOptionsDialog* dialog) {
    squaresText = C<QCheckBox>(dialog, DisplaySquares3DBox)->text();
    squaresChecked = C<QCheckBox>(dialog, DisplaySquares3DBox)->isChecked();
    C<QCheckBox>(dialog, DisplaySquares3DBox)->click();
    C<QCheckBox>(dialog, DisplayOtherPiecesBox)->click();
    C<QCheckBox>(dialog, DisplayNotationBox)->click();
    paneWhileOpen = f.window->solutionPane()->toPlainText();
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  script.start();
  f.window->Dispatch(CmdDisplayOptions);
  QVERIFY(script.done());
  QCOMPARE(squaresText, QStringLiteral("&Squares 3D"));
  QVERIFY(squaresChecked);
  // Cancel keeps what was changed while the dialog was open.
  QCOMPARE(state.output[OutputSquares3D], 0);
  QCOMPARE(state.output[OutputClassicPieces], 1);
  QCOMPARE(state.output[OutputFigurineNotation], 1);
  QCOMPARE(FaceName(state.paneFont), std::string("Kestrovale"));
  QCOMPARE(state.paneFont.height, -13);
  QVERIFY(paneWhileOpen.isEmpty());  // the old notation's text goes

  // Figurines off again: the figurine font record stays.
  ModalScript off;
  off.then<DisplayOptionsDialog>([&](DisplayOptionsDialog* dialog) {
    QVERIFY(C<QCheckBox>(dialog, DisplayNotationBox)->isChecked());
    C<QCheckBox>(dialog, DisplayNotationBox)->click();
    QTest::keyClick(dialog, Qt::Key_Return);
  });
  off.start();
  f.window->Dispatch(CmdDisplayOptions);
  QVERIFY(off.done());
  QCOMPARE(state.output[OutputFigurineNotation], 0);
  QCOMPARE(FaceName(state.paneFont), std::string("Kestrovale"));
  QVERIFY(face != "Kestrovale");
}

void WindowOptionsTest::fontChoiceDecidesTheNotation() {
  OutputSettings output;
  PaneFont font;
  output[OutputFigurineNotation] = 1;
  std::vector<DisplayEffects> applied;
  DisplayOptionsDialog dialog(output, font, Language{}, QString(),
                              [&](const DisplayEffects& e) { applied.push_back(e); });
  QFont offered;
  dialog.chooseFont = [&](QFont& chosen) {
    offered = chosen;
    chosen = QFont(QStringLiteral("DejaVu Sans"), 20);
    return true;
  };
  QCheckBox* notation = C<QCheckBox>(&dialog, DisplayNotationBox);
  QVERIFY(notation->isChecked());
  C<QPushButton>(&dialog, DisplayFontButton)->click();
  // Another face turns figurines off; the size keeps to 14 points.
  QCOMPARE(output[OutputFigurineNotation], 0);
  QVERIFY(!notation->isChecked());
  QCOMPARE(FaceName(font), std::string("DejaVu Sans"));
  QCOMPARE(font.height, -19);
  QCOMPARE(applied.size(), std::size_t{1});
  QVERIFY(applied[0].font && !applied[0].clearSolution);

  dialog.chooseFont = [](QFont& chosen) {
    chosen = QFont(QStringLiteral("Kestrovale Figurines"), 6);
    return true;
  };
  C<QPushButton>(&dialog, DisplayFontButton)->click();
  QCOMPARE(output[OutputFigurineNotation], 1);
  QVERIFY(notation->isChecked());
  QCOMPARE(font.height, -11);                // 8 points at least
  QCOMPARE(applied.size(), std::size_t{2});  // the box followed without a toggle

  dialog.chooseFont = [](QFont&) { return false; };
  C<QPushButton>(&dialog, DisplayFontButton)->click();
  QCOMPARE(applied.size(), std::size_t{2});  // cancelled: nothing changes
  QCOMPARE(font.height, -11);
}

void WindowOptionsTest::openAndSaveAsChooseTheirKind() {
  QTemporaryDir dir;
  ChoiceWindow w;
  // Cancelled choices open and write nothing.
  w.window->Dispatch(CmdOpen);
  w.window->Dispatch(CmdSaveAs);
  QCOMPARE(w.kinds, (std::vector<int>{ChooseOpen, ChooseSaveAs}));
  QVERIFY(!w.state.fileOpen);

  w.answer = dir.filePath("Saved.kvl").toStdString();
  w.state.pos.board = BoardFromFen("k7/8/8/8/8/8/8/K7");
  w.window->Dispatch(CmdSaveAs);
  QVERIFY(w.state.fileOpen);
  QCOMPARE(w.state.collection.currentFileName, w.answer);
  QVERIFY(QFile::exists(QString::fromStdString(w.answer)));
  w.log.answers.push_back(IdNo);  // in case the save question comes
  w.window->Dispatch(CmdOpen);
  QCOMPARE(w.kinds.back(), ChooseOpen);
  QCOMPARE(w.state.collection.currentFileName, w.answer);

  // A string file is chosen as one; cancelling selects English.
  w.answer.clear();
  w.window->Dispatch(CmdLanguageOther);
  QCOMPARE(w.kinds.back(), ChooseLanguageFile);
  QCOMPARE(w.state.language.base, LanguageEnglish);

  // Without a file choice the plain prompts get the kind's title and filters,
  // and the default extension is added to a name typed without one.
  AppState state;
  QStringList asked;
  Prompts prompts;
  prompts.saveFileName = [&](const QString& title, const QString& filter) {
    asked << title << filter;
    return dir.filePath("plain");
  };
  MainWindow plain(state, prompts);
  state.pos.board = BoardFromFen("k7/8/8/8/8/8/8/K7");
  plain.Dispatch(CmdSaveAs);
  QCOMPARE(asked.value(1), QStringLiteral("Kestrovale files (*.kvl)"));
  QVERIFY(!asked.value(0).isEmpty());
  QCOMPARE(QString::fromStdString(state.collection.currentFileName), dir.filePath("plain.kvl"));
}

void WindowOptionsTest::fileDialogOfAKindKeepsTheNameAsTyped() {
  QTemporaryDir dir;
  QWidget owner;
  const Prompts prompts = DefaultPrompts(&owner);
  QString title;
  QStringList filters;
  ModalScript script;
  script.then<QFileDialog>([&](QFileDialog* dialog) {
    title = dialog->windowTitle();
    filters = dialog->nameFilters();
    dialog->selectFile(dir.filePath("MixedCase"));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  script.start();
  std::string name = dir.path().toStdString();
  QVERIFY(prompts.chooseFile(Language{}, name, ChooseSaveAs));
  QVERIFY(script.done());
  QCOMPARE(QString::fromStdString(name), dir.filePath("MixedCase.kvl"));
  QVERIFY(!title.isEmpty());
  QCOMPARE(filters, QStringList{QStringLiteral("Kestrovale files (*.kvl)")});
}

void WindowOptionsTest::unreadableConfigurationIsReported() {
  QTemporaryDir dir;
  // A folder where the ini file should be: the defaults, and a message.
  const std::string folder = dir.filePath("kestro32.ini").toStdString();
  QVERIFY(QDir().mkdir(QString::fromStdString(folder)));
  PromptLog log;
  {
    Session session(folder, RecordingPrompts(log));
    session.Start(QString());
    QCOMPARE(session.state().language.base, LanguageEnglish);
    session.window().close();
  }
  QCOMPARE(log.messages.size(), 1);
  QVERIFY(log.messages[0].contains(QString::fromStdString(folder)));
  QVERIFY(log.messages[0].contains(QStringLiteral("not a regular file")));

  // A missing file is a first run, not a failure.
  PromptLog quiet;
  {
    Session session(dir.filePath("none.ini").toStdString(), RecordingPrompts(quiet));
    session.Start(QString());
    session.window().close();
  }
  QVERIFY(quiet.messages.isEmpty());
}

void WindowOptionsTest::openingAnInputFileNamesTheProblemsLeftOut() {
  QTemporaryDir dir;
  const QString source = dir.filePath("mixed.inp");
  QFile file(source);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(
      "beginproblem\n"
      "stipulation #2\npieces white Kg6 Ra1 black Kh8 Pa7a6\n"
      "nextproblem\n"
      "condition Circe\nstipulation #2\npieces white Ka1 Qb2 black Ka8\n"
      "endproblem\n");
  file.close();
  ChoiceWindow w;
  w.answer = source.toStdString();
  w.window->Dispatch(CmdOpen);
  QVERIFY(w.state.fileOpen);
  QCOMPARE(QString::fromStdString(w.state.collection.currentFileName), dir.filePath("mixed.kvl"));
  QCOMPARE(w.log.messages.size(), 1);
  QVERIFY(w.log.messages[0].startsWith(QStringLiteral("1 problem(s) imported, 1 left out:")));
  QVERIFY(w.log.messages[0].contains(QStringLiteral("problem 2")));
  QVERIFY(w.log.messages[0].contains(QStringLiteral("Circe")));
}

void WindowOptionsTest::textsFitInEveryLanguage() {
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  print::MakePdfPrinter(printer, dir.filePath("fit.pdf"));
  int checked = 0;
  for (int base : {LanguageFrench, LanguageEnglish, LanguageItalian, LanguageSpanish}) {
    OutputSettings output;
    PaneFont font;
    for (const auto& dialog : SampleDialogs(Language{base, nullptr}, output, font, printer)) {
      dialog->show();
      // Every page of a sheet is looked at.
      auto* tabs = dialog->findChild<QTabWidget*>();
      for (int page = 0; page < (tabs != nullptr ? tabs->count() : 1); ++page) {
        if (tabs != nullptr) tabs->setCurrentIndex(page);
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
          if (!w->isVisible()) continue;
          if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QLabel*>(w)) continue;
          const QString what = dialog->metaObject()->className() + QStringLiteral(" ") +
                               w->objectName() + " " + QString::number(base);
          QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(what));
          ++checked;
        }
      }
    }
  }
  QVERIFY(checked > 60);
}

// With KESTROVALE_SCREENSHOTS naming a folder, the about box and the display
// options are drawn into it in English.
void WindowOptionsTest::screenshots() {
  const QString folder = qEnvironmentVariable("KESTROVALE_SCREENSHOTS");
  if (folder.isEmpty()) QSKIP("KESTROVALE_SCREENSHOTS not set");
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  print::MakePdfPrinter(printer, dir.filePath("shot.pdf"));
  OutputSettings output;
  PaneFont font;
  const auto dialogs = SampleDialogs(Language{}, output, font, printer);
  const QString names[] = {"about", "display-options", "print-options"};
  for (std::size_t i = 0; i < dialogs.size(); ++i) {
    dialogs[i]->show();
    QVERIFY(dialogs[i]->grab().save(folder + "/dialog-" + names[i] + "-en.png"));
  }
}

QTEST_MAIN(WindowOptionsTest)
#include "window_options_test.moc"
