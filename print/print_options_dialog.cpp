#include "print/print_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <array>
#include <cmath>

#include "print/print_job.h"
#include "print/print_options_logic.h"
#include "print/qt_text.h"
#include "strings/dialog_controls.h"
#include "strings/dialog_translation.h"
#include "strings/message_ids.h"

namespace kv::print {
namespace {

constexpr std::array<const char*, 5> BorderNames = {"No Border", "Simple", "Double", "Simple coord",
                                                    "Double coord"};
constexpr std::array<int, 4> MarginPositions = {OutputMarginLeft, OutputMarginRight,
                                                OutputMarginTop, OutputMarginBottom};
// The control ids of the pages, which their translation table and the tests
// find the controls by (the object name is the id; strings/dialog_controls.h).
using namespace print_options_control;
// The margins' fields and labels, in the order of MarginPositions.
constexpr std::array<int, 4> MarginIds = {LeftMarginEdit, RightMarginEdit, TopMarginEdit,
                                          BottomMarginEdit};
constexpr std::array<int, 4> MarginLabelIds = {LeftMarginLabel, RightMarginLabel, TopMarginLabel,
                                               BottomMarginLabel};
constexpr std::array<int, 4> MarginLabelMessages = {msg::LeftMargin, msg::RightMargin,
                                                    msg::TopMargin, msg::BottomMargin};
// The tab titles: "Diagrams", "Report", "Margins".
constexpr std::array<int, 3> PageTitleMessages = {msg::DiagramsPage, msg::ReportPage, msg::Margins};
constexpr int HelpContextPrintOptions = 132;

QSpinBox* Spin(QWidget* parent, int id, int min, int max, int value) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::number(id));
  spin->setRange(min, max);
  spin->setValue(value);
  return spin;
}

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

// The pages are laid out with the French texts of the string table and
// translated when the sheet opens in another language.
QString DesignText(int message) {
  return ToQString(LoadMessage(Language{LanguageFrench, nullptr}, message));
}

QLabel* Label(QWidget* parent, int id, int message) {
  auto* label = new QLabel(DesignText(message), parent);
  label->setObjectName(QString::number(id));
  return label;
}

}  // namespace

struct PrintOptionsDialog::Pages {
  QSpinBox* columns = nullptr;
  QSpinBox* rows = nullptr;
  QSpinBox* size = nullptr;
  QLabel* sizePercent = nullptr;
  QComboBox* border = nullptr;
  QSpinBox* reportColumns = nullptr;
  QCheckBox* reportDiagram = nullptr;
  std::array<QSpinBox*, 4> margins{};
  QTabWidget* tabs = nullptr;
  QDialogButtonBox* buttons = nullptr;
};

PrintOptionsDialog::PrintOptionsDialog(const OutputSettings& settings, QPrinter& printer,
                                       QWidget* parent)
    : QDialog(parent), pages_(new Pages), settings_(settings), printer_(printer) {
  setWindowTitle(Utf8("Options d'impression"));
  ReadPrinter();
  Pages& p = *pages_;
  auto* tabs = new QTabWidget(this);
  p.tabs = tabs;
  auto previewButton = [this](QWidget* page, DocumentKind kind) {
    auto* button = new QPushButton(DesignText(msg::Preview), page);
    button->setObjectName(QString::number(PreviewButton));
    connect(button, &QPushButton::clicked, this, [this, kind] {
      previewKind_ = kind;
      done(OptionsOpenPreview);
    });
    return button;
  };

  // "Diagrammes"
  auto* diagrams = new QWidget(tabs);
  auto* diagramForm = new QFormLayout(diagrams);
  p.columns =
      Spin(diagrams, ColumnsEdit, MinSheetColumns, MaxSheetColumns, settings[OutputDiagramColumns]);
  p.rows = Spin(diagrams, RowsEdit, MinSheetRows, MaxSheetRows, settings[OutputDiagramRows]);
  p.size = Spin(diagrams, DiagramSizeEdit, -20, 10, settings[OutputDiagramSize]);
  p.sizePercent = new QLabel(diagrams);
  p.sizePercent->setObjectName(QString::number(DiagramSizePercentLabel));
  p.border = new QComboBox(diagrams);
  p.border->setObjectName(QString::number(BorderBox));
  for (const char* name : BorderNames) p.border->addItem(name);
  p.border->setCurrentIndex(std::clamp(settings[OutputDiagramBorder], 0, 4));
  auto labelled = [](QFormLayout* form, QLabel* label, QWidget* field) {
    label->setBuddy(field);
    form->addRow(label, field);
  };
  diagramForm->addRow(Label(diagrams, DiagramsPerPageLabel, msg::DiagramsPerPage));
  labelled(diagramForm, Label(diagrams, ColumnsLabel, msg::Columns), p.columns);
  labelled(diagramForm, Label(diagrams, RowsLabel, msg::Rows), p.rows);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(p.size);
  sizeRow->addWidget(p.sizePercent);
  QLabel* sizeLabel = Label(diagrams, DiagramSizeLabel, msg::DiagramSize);
  sizeLabel->setBuddy(p.size);
  diagramForm->addRow(sizeLabel, sizeRow);
  labelled(diagramForm, Label(diagrams, DiagramBorderLabel, msg::DiagramBorder), p.border);
  diagramForm->addRow(previewButton(diagrams, DocumentKind::DiagramSheet));
  tabs->addTab(diagrams, DesignText(PageTitleMessages[0]));

  // "Rapport"
  auto* report = new QWidget(tabs);
  auto* reportForm = new QFormLayout(report);
  p.reportColumns = Spin(report, ReportColumnsEdit, MinReportColumns, MaxReportColumns,
                         settings[OutputReportColumns]);
  p.reportDiagram = new QCheckBox(DesignText(msg::PrintDiagram), report);
  p.reportDiagram->setObjectName(QString::number(ReportDiagramBox));
  p.reportDiagram->setChecked(settings[OutputReportDiagram] != 0);
  labelled(reportForm, Label(report, TextColumnsLabel, msg::TextColumns), p.reportColumns);
  reportForm->addRow(p.reportDiagram);
  reportForm->addRow(previewButton(report, DocumentKind::Report));
  tabs->addTab(report, DesignText(PageTitleMessages[1]));

  // Margins
  auto* margins = new QWidget(tabs);
  auto* marginForm = new QFormLayout(margins);
  marginForm->addRow(Label(margins, MarginsLabel, msg::MarginsInMillimetres));
  for (std::size_t i = 0; i < MarginPositions.size(); ++i) {
    p.margins[i] = Spin(margins, MarginIds[i], 0, MaxMarginMm, settings[MarginPositions[i]]);
    p.margins[i]->setSuffix(" mm");
    labelled(marginForm, Label(margins, MarginLabelIds[i], MarginLabelMessages[i]), p.margins[i]);
    const int position = MarginPositions[i];
    connect(p.margins[i], &QSpinBox::valueChanged, this,
            [this, position](int value) { SetMargin(position, value); });
  }
  auto* printerButton = new QPushButton(DesignText(msg::Printer), margins);
  printerButton->setObjectName(QString::number(PrinterButton));
  connect(printerButton, &QPushButton::clicked, this, &PrintOptionsDialog::PrinterSetup);
  marginForm->addRow(printerButton);
  tabs->addTab(margins, DesignText(PageTitleMessages[2]));

  connect(p.size, &QSpinBox::valueChanged, this, [this](int value) { SetDiagramSize(value); });
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
  p.buttons = buttons;
  buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
  buttons->button(QDialogButtonBox::Help)->setObjectName("3");
  buttons->button(QDialogButtonBox::Help)->hide();
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
    if (onHelp) onHelp(HelpContextPrintOptions);
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);

  // The stored values go through the same corrections as typed ones.
  SetDiagramSize(settings[OutputDiagramSize]);
  for (const int position : MarginPositions) SetMargin(position, settings[position]);
}

PrintOptionsDialog::~PrintOptionsDialog() = default;

void PrintOptionsDialog::Translate(const Language& language, const QString& title) {
  if (!title.isEmpty()) setWindowTitle(title);
  Pages& p = *pages_;
  for (int page = 0; page < static_cast<int>(PageTitleMessages.size()); ++page)
    p.tabs->setTabText(page, ToQString(LoadMessage(language, PageTitleMessages[page])));
  for (const ControlText& label : TranslateDialog(language, DialogPrintOptionPages)) {
    // The sheet's own OK applies and closes; it keeps its text rather than
    // the pages' "Print", since it prints nothing.
    if (label.control == 1) continue;
    for (QWidget* control : findChildren<QWidget*>(QString::number(label.control))) {
      if (auto* text = qobject_cast<QLabel*>(control)) text->setText(ToQString(label.text));
      if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(ToQString(label.text));
    }
  }
  for (const int control : {1, 2, 3}) {
    auto* button = findChild<QPushButton*>(QString::number(control));
    if (button != nullptr)
      button->setText(ToQString(StandardButtonText(language, control, std::string())));
  }
  p.buttons->button(QDialogButtonBox::Help)->setVisible(static_cast<bool>(onHelp));
}

void PrintOptionsDialog::ShowPageOf(DocumentKind kind) {
  pages_->tabs->setCurrentIndex(kind == DocumentKind::Report ? 1 : 0);
}

// The margins have one home, these pages: the page setup opens showing
// them, and the margins it is closed with come back here. The printer's own
// margins meanwhile stay those of its unprintable border, which the page
// geometry lays the margins over.
void PrintOptionsDialog::PrinterSetup() {
  const QMarginsF border = printer_.pageLayout().margins(QPageLayout::Millimeter);
  printer_.setPageMargins(
      QMarginsF(MarginValue(OutputMarginLeft), MarginValue(OutputMarginTop),
                MarginValue(OutputMarginRight), MarginValue(OutputMarginBottom)),
      QPageLayout::Millimeter);
  QPageSetupDialog setup(&printer_, this);
  setup.setObjectName(QStringLiteral("pageSetup"));
  const bool accepted = setup.exec() == QDialog::Accepted;
  const QMarginsF chosen = printer_.pageLayout().margins(QPageLayout::Millimeter);
  printer_.setPageMargins(border, QPageLayout::Millimeter);
  if (!accepted) return;
  ReadPrinter();
  SetMargin(OutputMarginLeft, static_cast<int>(std::lround(chosen.left())));
  SetMargin(OutputMarginTop, static_cast<int>(std::lround(chosen.top())));
  SetMargin(OutputMarginRight, static_cast<int>(std::lround(chosen.right())));
  SetMargin(OutputMarginBottom, static_cast<int>(std::lround(chosen.bottom())));
  SetDiagramSize(DiagramSizeValue());
}

void PrintOptionsDialog::ReadPrinter() {
  metrics_ = MetricsOf(printer_);
}

void PrintOptionsDialog::SetDiagramSize(int value) {
  const int scale = metrics_.screenDpiX > 0 ? metrics_.dpiX * 10 / metrics_.screenDpiX : 0;
  const int clamped = ClampDiagramSize(value, scale);
  QSpinBox* size = pages_->size;
  if (size->value() != clamped) {
    const QSignalBlocker block(size);
    size->setValue(clamped);
  }
  pages_->sizePercent->setText(QString::fromStdString(DiagramSizePercent(clamped, scale)));
}

void PrintOptionsDialog::SetMargin(int position, int millimetres) {
  const OffsetsMm offsets = UnprintableOffsetsMm(metrics_);
  const bool across = position == OutputMarginLeft || position == OutputMarginRight;
  const int clamped = ClampMargin(millimetres, across ? offsets.x : offsets.y);
  for (std::size_t i = 0; i < MarginPositions.size(); ++i) {
    if (MarginPositions[i] != position) continue;
    QSpinBox* spin = pages_->margins[i];
    if (spin->value() != clamped) {
      const QSignalBlocker block(spin);
      spin->setValue(clamped);
    }
  }
}

int PrintOptionsDialog::MarginValue(int position) const {
  for (std::size_t i = 0; i < MarginPositions.size(); ++i) {
    if (MarginPositions[i] == position) return pages_->margins[i]->value();
  }
  return 0;
}

int PrintOptionsDialog::DiagramSizeValue() const {
  return pages_->size->value();
}

QString PrintOptionsDialog::DiagramSizePercentText() const {
  return pages_->sizePercent->text();
}

OutputSettings PrintOptionsDialog::Settings() const {
  OutputSettings out = settings_;
  const Pages& p = *pages_;
  out[OutputDiagramColumns] = p.columns->value();
  out[OutputDiagramRows] = p.rows->value();
  out[OutputDiagramSize] = p.size->value();
  out[OutputDiagramBorder] = p.border->currentIndex();
  out[OutputReportColumns] = p.reportColumns->value();
  out[OutputReportDiagram] = p.reportDiagram->isChecked() ? 1 : 0;
  for (std::size_t i = 0; i < MarginPositions.size(); ++i) {
    out[MarginPositions[i]] = p.margins[i]->value();
  }
  return out;
}

}  // namespace kv::print
