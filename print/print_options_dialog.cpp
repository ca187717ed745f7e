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

#include "print/print_job.h"
#include "print/print_option_limits.h"

namespace kv::print {
namespace {

constexpr std::array<const char*, 5> BorderNames = {"No Border", "Simple", "Double", "Simple coord",
                                                    "Double coord"};
constexpr std::array<int, 4> MarginPositions = {OutputMarginLeft, OutputMarginRight,
                                                OutputMarginTop, OutputMarginBottom};
constexpr std::array<const char*, 4> MarginLabels = {"&Gauche:", "&Droite:", "&Haut:", "&Bas:"};
constexpr std::array<const char*, 4> MarginIds = {"121", "122", "123", "124"};

QSpinBox* Spin(QWidget* parent, const char* id, int min, int max, int value) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(id);
  spin->setRange(min, max);
  spin->setValue(value);
  return spin;
}

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
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
};

PrintOptionsDialog::PrintOptionsDialog(const OutputSettings& settings, QPrinter& printer,
                                       QWidget* parent)
    : QDialog(parent), pages_(new Pages), settings_(settings), printer_(printer) {
  setWindowTitle(Utf8("Options d'impression"));
  ReadPrinter();
  Pages& p = *pages_;
  auto* tabs = new QTabWidget(this);
  auto previewButton = [this](QWidget* page, DocumentKind kind) {
    auto* button = new QPushButton(Utf8("Aper\xC3\xA7u..."), page);
    button->setObjectName("130");
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
      Spin(diagrams, "113", MinSheetColumns, MaxSheetColumns, settings[OutputDiagramColumns]);
  p.rows = Spin(diagrams, "114", MinSheetRows, MaxSheetRows, settings[OutputDiagramRows]);
  p.size = Spin(diagrams, "101", -20, 10, settings[OutputDiagramSize]);
  p.sizePercent = new QLabel(diagrams);
  p.sizePercent->setObjectName("102");
  p.border = new QComboBox(diagrams);
  p.border->setObjectName("115");
  for (const char* name : BorderNames) p.border->addItem(name);
  p.border->setCurrentIndex(std::clamp(settings[OutputDiagramBorder], 0, 4));
  diagramForm->addRow(Utf8("Colonnes:"), p.columns);
  diagramForm->addRow(Utf8("Lignes:"), p.rows);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(p.size);
  sizeRow->addWidget(p.sizePercent);
  diagramForm->addRow(Utf8("Taille:"), sizeRow);
  diagramForm->addRow(Utf8("Cadre:"), p.border);
  diagramForm->addRow(previewButton(diagrams, DocumentKind::DiagramSheet));
  tabs->addTab(diagrams, Utf8("Diagrammes"));

  // "Rapport"
  auto* report = new QWidget(tabs);
  auto* reportForm = new QFormLayout(report);
  p.reportColumns =
      Spin(report, "111", MinReportColumns, MaxReportColumns, settings[OutputReportColumns]);
  p.reportDiagram = new QCheckBox(Utf8("Imprimer &Diagramme"), report);
  p.reportDiagram->setObjectName("112");
  p.reportDiagram->setChecked(settings[OutputReportDiagram] != 0);
  reportForm->addRow(Utf8("Colonnes:"), p.reportColumns);
  reportForm->addRow(p.reportDiagram);
  reportForm->addRow(previewButton(report, DocumentKind::Report));
  tabs->addTab(report, Utf8("Rapport"));

  // Margins
  auto* margins = new QWidget(tabs);
  auto* marginForm = new QFormLayout(margins);
  for (std::size_t i = 0; i < MarginPositions.size(); ++i) {
    p.margins[i] = Spin(margins, MarginIds[i], 0, MaxMarginMm, settings[MarginPositions[i]]);
    p.margins[i]->setSuffix(" mm");
    marginForm->addRow(Utf8(MarginLabels[i]), p.margins[i]);
    const int position = MarginPositions[i];
    connect(p.margins[i], &QSpinBox::valueChanged, this,
            [this, position](int value) { SetMargin(position, value); });
  }
  auto* printerButton = new QPushButton(Utf8("Imprimante..."), margins);
  printerButton->setObjectName("131");
  connect(printerButton, &QPushButton::clicked, this, [this] {
    QPageSetupDialog setup(&printer_, this);
    if (setup.exec() == QDialog::Accepted) {
      ReadPrinter();
      for (const int position : MarginPositions) SetMargin(position, MarginValue(position));
      SetDiagramSize(DiagramSizeValue());
    }
  });
  marginForm->addRow(printerButton);
  tabs->addTab(margins, Utf8("Marges"));

  connect(p.size, &QSpinBox::valueChanged, this, [this](int value) { SetDiagramSize(value); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);

  // The stored values go through the same corrections as typed ones.
  SetDiagramSize(settings[OutputDiagramSize]);
  for (const int position : MarginPositions) SetMargin(position, settings[position]);
}

PrintOptionsDialog::~PrintOptionsDialog() = default;

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
