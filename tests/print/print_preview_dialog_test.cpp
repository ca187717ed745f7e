// The preview, the option pages and the headless printing program, driven on
// the offscreen platform with the sample collection.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "print/print_cli.h"
#include "print/print_job.h"
#include "print/print_options_dialog.h"
#include "print/print_preview_dialog.h"

namespace kv::print {
namespace {

const std::string SampleFile = KESTROVALE_SOURCE_DIR "/resources/samples/sample.kvl";

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "print_tests";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance() == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QApplication(argc, argv);
  }
}

class PrintDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    ASSERT_TRUE(dir.isValid());
    printerOwner = std::make_unique<QPrinter>(QPrinter::HighResolution);
    MakePdfPrinter(*printerOwner, dir.filePath("preview.pdf"));
  }
  PrintDocument SheetOf(int columns, int rows) {
    PrintDocument document;
    document.settings[OutputDiagramColumns] = columns;
    document.settings[OutputDiagramRows] = rows;
    // The first nine problems of the sample: the page counts below are theirs.
    EXPECT_TRUE(LoadSheetProblems(SampleFile, {0, 1, 2, 3, 4, 5, 6, 7, 8}, document.problems));
    return document;
  }
  QTemporaryDir dir;
  // Made once the application exists.
  std::unique_ptr<QPrinter> printerOwner;
  QPrinter& printer() { return *printerOwner; }
};

TEST_F(PrintDialogs, SampleOfNineProblemsFillsOnePageAtThreeByThree) {
  PrintDocument document = SheetOf(3, 3);
  ASSERT_EQ(document.problems.size(), 9u);
  EXPECT_EQ(PrintDocumentOn(document, printer(), {1, 100}), 1);
  PrintDocument twoByTwo = SheetOf(2, 2);
  EXPECT_EQ(PrintDocumentOn(twoByTwo, printer(), {1, 100}), 3);
  EXPECT_EQ(PrintDocumentOn(twoByTwo, printer(), {2, 100}), 2);  // a chosen range
}

TEST_F(PrintDialogs, PagingButtonsFollowThePage) {
  PrintDocument document = SheetOf(2, 2);
  PreviewZoomMemory memory;
  PrintPreviewDialog preview(document, printer(), memory);
  auto* previous = preview.findChild<QPushButton*>("1003");
  auto* next = preview.findChild<QPushButton*>("1002");
  auto* pageEdit = preview.findChild<QLineEdit*>("102");
  ASSERT_TRUE(previous && next && pageEdit);
  EXPECT_EQ(preview.pageCount(), 3);
  EXPECT_FALSE(previous->isEnabled());
  EXPECT_TRUE(next->isEnabled());
  QTest::mouseClick(next, Qt::LeftButton);
  QTest::mouseClick(next, Qt::LeftButton);
  EXPECT_EQ(preview.page(), 2);
  EXPECT_EQ(pageEdit->text(), "3");
  EXPECT_FALSE(next->isEnabled());
  EXPECT_TRUE(previous->isEnabled());
  // The last page has no picture of a next page.
  EXPECT_EQ(preview.picture(1).size(), 0u);
  EXPECT_GT(preview.picture(0).size(), 0u);
  // A typed page beyond the last goes to the last.
  pageEdit->setText("1");
  QTest::keyClick(pageEdit, Qt::Key_Return);
  EXPECT_EQ(preview.page(), 0);
}

TEST_F(PrintDialogs, TypedZoomIsClampedAndRemembered) {
  PrintDocument document = SheetOf(3, 3);
  PreviewZoomMemory memory;
  {
    PrintPreviewDialog preview(document, printer(), memory);
    const int fullPage = preview.zoom();
    EXPECT_EQ(memory.small, fullPage);  // the first preview opens at "Full Page"
    auto* box = preview.findChild<QComboBox*>("1004");
    ASSERT_NE(box, nullptr);
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), "5");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(preview.zoom(), 12);
    EXPECT_EQ(box->currentText(), "12%");
    preview.ApplyTypedZoom(5000);
    EXPECT_EQ(preview.zoom(), 1200);
    preview.ChooseZoomEntry(5);  // 50%
    EXPECT_EQ(preview.zoom(), 50);
  }
  PrintPreviewDialog again(document, printer(), memory);
  EXPECT_EQ(again.zoom(), 50);
}

TEST_F(PrintDialogs, ClipboardCopyIsThePageAtTheZoom) {
  PrintDocument document = SheetOf(3, 3);
  PreviewZoomMemory memory;
  PrintPreviewDialog preview(document, printer(), memory);
  preview.ApplyTypedZoom(25);
  const QImage image = preview.PageImage();
  // A4 at 25 %: about 210 x 297 mm at a quarter of 96 dpi.
  EXPECT_NEAR(image.width(), 198, 3);
  EXPECT_NEAR(image.height(), 280, 3);
  // Something was drawn: not every pixel is white.
  bool marked = false;
  for (int y = 0; y < image.height() && !marked; ++y) {
    for (int x = 0; x < image.width() && !marked; ++x)
      marked = image.pixel(x, y) != qRgb(255, 255, 255);
  }
  EXPECT_TRUE(marked);
}

TEST_F(PrintDialogs, OptionPagesClampTheirValues) {
  OutputSettings settings;
  settings[OutputMarginLeft] = 250;
  PrintOptionsDialog options(settings, printer());
  EXPECT_EQ(options.MarginValue(OutputMarginLeft), 200);
  options.SetDiagramSize(-20);
  // A PDF at 1200 dpi: scale 125, so the size may go down to -20.
  EXPECT_EQ(options.DiagramSizeValue(), -20);
  EXPECT_EQ(options.DiagramSizePercentText(), "84%");
  const OutputSettings out = options.Settings();
  EXPECT_EQ(out[OutputMarginLeft], 200);
  EXPECT_EQ(out[OutputDiagramSize], -20);
  EXPECT_EQ(out[0], settings[0]);  // positions printing does not use stay as read
}

TEST_F(PrintDialogs, CommandLineWritesPdfAndRefusesBadArguments) {
  const std::string pdf = dir.filePath("report.pdf").toStdString();
  EXPECT_EQ(RunPrintCommand({"--format", "pdf", "--kind", "report", SampleFile, pdf, "-n", "7"}),
            PrintExitOk);
  QFile file(QString::fromStdString(pdf));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5) == "%PDF-");
  EXPECT_EQ(RunPrintCommand({"--format", "pdf", "--kind", "report", SampleFile, pdf, "-n", "1,2"}),
            PrintExitUsage);
  EXPECT_EQ(
      RunPrintCommand({"--format", "pdf", "--kind", "diagrams", SampleFile, pdf, "-n", "999"}),
      PrintExitFailure);
  std::vector<int> numbers;
  EXPECT_TRUE(ParseProblemNumbers("1,4,9", numbers));
  EXPECT_EQ(numbers, (std::vector<int>{1, 4, 9}));
  EXPECT_FALSE(ParseProblemNumbers("1,,2", numbers));
  EXPECT_FALSE(ParseProblemNumbers("0", numbers));
}

}  // namespace
}  // namespace kv::print

// fontconfig keeps its caches until the process ends; the leak checker looks
// this function up by the reserved name the sanitizer runtime gives it.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\n";
}
// NOLINTEND(bugprone-reserved-identifier)

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  delete QApplication::instance();
  return result;
}
