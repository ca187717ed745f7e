#include "app/check_soundness_window.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>
#include <thread>

#include "app/dialog_frame.h"
#include "app/problem_list_dialog.h"
#include "collections/problem_file.h"

namespace kv::app {
namespace {

enum Column {
  ColumnNumber,
  ColumnFile,
  ColumnStipulation,
  ColumnVerdict,
  ColumnTime,
  ColumnDetail
};

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return item;
}

// One problem of the list as the check takes it; a record that cannot be
// read is reported as such instead of stopping the check.
CheckItem ItemOfEntry(const ProblemList& list, int entry) {
  const ProblemListEntry& e = list.entries[static_cast<std::size_t>(entry)];
  CurrentProblem problem;
  Board board{};
  const FileResult loaded = LoadProblemNumber(list.FileOf(e), e.record, problem, board);
  if (!loaded) {
    CheckItem item;
    item.number = e.record;
    item.readError = loaded.detail.empty() ? "cannot be read" : loaded.detail;
    return item;
  }
  return CheckItemFromProblem(e.record, problem);
}

QString SummaryText(const CheckSummary& summary) {
  QString text = QStringLiteral("%1 checked: %2 sound").arg(summary.checked).arg(summary.sound);
  for (const auto& [verdict, count] : summary.others)
    text += QStringLiteral(", %1 %2").arg(count).arg(QString::fromUtf8(
        VerdictName(verdict).data(), static_cast<int>(VerdictName(verdict).size())));
  if (summary.notChecked > 0) text += QStringLiteral("; %1 not checked").arg(summary.notChecked);
  return text;
}

}  // namespace

CheckSoundnessWindow::CheckSoundnessWindow(const ProblemList& list, std::vector<int> entries,
                                           int jobs, QWidget* parent)
    : QDialog(parent), entries_(std::move(entries)), jobs_(jobs) {
  setObjectName(QStringLiteral("CheckSoundnessWindow"));
  setWindowTitle(QStringLiteral("Check soundness"));
  for (int entry : entries_) {
    items_.push_back(ItemOfEntry(list, entry));
    fileNames_.push_back(list.FileOf(list.entries[static_cast<std::size_t>(entry)]));
  }
  reports_.resize(items_.size());

  table_ = new QTableWidget(static_cast<int>(items_.size()), 6, this);
  table_->setHorizontalHeaderLabels({QStringLiteral("No."), QStringLiteral("File"),
                                     QStringLiteral("Stipulation"), QStringLiteral("Verdict"),
                                     QStringLiteral("Time"), QStringLiteral("Details")});
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < table_->rowCount(); ++row) {
    const CheckItem& item = items_[static_cast<std::size_t>(row)];
    table_->setItem(row, ColumnNumber, Cell(QString::number(item.number)));
    table_->setItem(row, ColumnFile,
                    Cell(QFileInfo(QString::fromStdString(fileNames_[row])).completeBaseName()));
    table_->setItem(row, ColumnStipulation, Cell(QString::fromStdString(item.stipulation)));
    table_->setItem(row, ColumnVerdict, Cell(QString()));
    table_->setItem(row, ColumnTime, Cell(QString()));
    table_->setItem(row, ColumnDetail, Cell(QString()));
  }
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    if (row >= 0 && row < static_cast<int>(entries_.size()))
      emit openEntry(entries_[static_cast<std::size_t>(row)]);
  });

  progress_ = new QProgressBar(this);
  progress_->setRange(0, static_cast<int>(items_.size()));
  progress_->setValue(0);
  summary_ = new QLabel(this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  stopButton_ = buttons->addButton(QStringLiteral("&Stop"), QDialogButtonBox::ActionRole);
  connect(stopButton_, &QPushButton::clicked, this, &CheckSoundnessWindow::Stop);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(progress_);
  layout->addWidget(summary_);
  layout->addWidget(buttons);
  resize(720, 420);
}

CheckSoundnessWindow::~CheckSoundnessWindow() {
  stop_ = true;
  if (thread_ != nullptr) {
    thread_->wait();
    delete thread_;
  }
}

void CheckSoundnessWindow::Start() {
  if (thread_ != nullptr) return;
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  const int jobs = jobs_ > 0 ? jobs_ : (cores > 0 ? cores : 1);
  // The worker reads items_ only; each finished report comes back to this
  // window's thread through the event queue.
  thread_ = QThread::create([this, jobs] {
    SoundnessRunEvents events;
    events.stopRequested = [this] { return stop_.load(); };
    events.finished = [this](std::size_t index, const CheckReport& report) {
      QMetaObject::invokeMethod(
          this, [this, index, report] { ShowReport(index, report); }, Qt::QueuedConnection);
    };
    RunSoundnessCheck(items_, jobs, 0, events);
  });
  connect(thread_, &QThread::finished, this, &CheckSoundnessWindow::Finish, Qt::QueuedConnection);
  summary_->setText(QStringLiteral("Checking %1 problem(s)...").arg(items_.size()));
  thread_->start();
}

void CheckSoundnessWindow::Stop() {
  stop_ = true;
}

void CheckSoundnessWindow::ShowReport(std::size_t index, const CheckReport& report) {
  reports_[index] = report;
  const int row = static_cast<int>(index);
  const std::string_view verdict = VerdictName(report.verdict.verdict);
  table_->item(row, ColumnVerdict)
      ->setText(QString::fromUtf8(verdict.data(), static_cast<int>(verdict.size())));
  table_->item(row, ColumnTime)->setText(QStringLiteral("%1 s").arg(report.seconds, 0, 'f', 2));
  table_->item(row, ColumnDetail)->setText(FromCp1252(report.verdict.detail));
  progress_->setValue(++done_);
}

void CheckSoundnessWindow::Finish() {
  if (thread_ == nullptr) return;
  thread_->wait();
  delete thread_;
  thread_ = nullptr;
  stopButton_->setEnabled(false);
  summary_->setText(SummaryText(Summarise(reports_)));
  emit checkFinished();
}

CheckSoundnessWindow* OpenCheckSoundness(ProblemListDialog* dialog, const ProblemList& list,
                                         const std::vector<int>& selected) {
  std::vector<int> entries = selected;
  const int caret = dialog->listBox()->currentRow();
  if (entries.empty() && caret >= 0) entries.push_back(caret);
  if (entries.empty()) return nullptr;
  auto* window = new CheckSoundnessWindow(list, std::move(entries), 0, dialog);
  window->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(window, &CheckSoundnessWindow::openEntry, dialog, [dialog](int entry) {
    dialog->listBox()->setCurrentRow(entry, QItemSelectionModel::Current);
  });
  window->show();
  window->Start();
  return window;
}

}  // namespace kv::app
