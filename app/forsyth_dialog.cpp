#include "app/forsyth_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/dialog_frame.h"
#include "collections/forsyth.h"

namespace kv::app {

ForsythDialog::ForsythDialog(Board& board, int borderStyle, const Language& language,
                             const QString& title, QWidget* parent)
    : QDialog(parent), board_(board), borderStyle_(borderStyle) {
  setObjectName("ForsythDialog");
  text_ = new QPlainTextEdit(this);
  SetControlId(text_, 101);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setTabChangesFocus(true);
  text_->setMinimumSize(text_->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('M'))),
                        text_->fontMetrics().lineSpacing() * 11);
  slashes_ = new QCheckBox(QStringLiteral("&/"), this);
  SetControlId(slashes_, 102);
  ascii_ = new QCheckBox(QStringLiteral("&Ascii"), this);
  SetControlId(ascii_, 103);

  auto* boxes = new QHBoxLayout;
  boxes->addWidget(slashes_);
  boxes->addWidget(ascii_);
  boxes->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addLayout(boxes);
  layout->addWidget(StandardButtons(this, language, 0));

  connect(slashes_, &QCheckBox::clicked, this, &ForsythDialog::ShowForsyth);
  // Ticking "Ascii" shows the diagram text; clearing it goes back to Forsyth.
  connect(ascii_, &QCheckBox::clicked, this,
          [this](bool on) { on ? ShowDiagram() : ShowForsyth(); });
  connect(text_, &QPlainTextEdit::textChanged, this, &ForsythDialog::Typed);

  TranslateOnOpening(this, language, 0, title);
  ShowForsyth();
}

void ForsythDialog::ShowForsyth() {
  diagramView_ = false;
  ascii_->setChecked(false);
  const QSignalBlocker block(text_);
  text_->setPlainText(FromCp1252(BoardToForsyth(board_, slashes_->isChecked())));
}

void ForsythDialog::ShowDiagram() {
  diagramView_ = true;
  const std::string diagram = BoardToDiagramText(board_, borderStyle_);
  QString text;
  for (int row = 0; row < DiagramSide; ++row) {
    text += FromCp1252(std::string_view(diagram).substr(row * DiagramSide, DiagramSide));
    if (row + 1 < DiagramSide) text += QLatin1Char('\n');
  }
  const QSignalBlocker block(text_);
  text_->setPlainText(text);
}

void ForsythDialog::Typed() {
  // Only what the user types in the Forsyth view changes the board.
  if (diagramView_ || !text_->hasFocus()) return;
  const std::string typed = ToCp1252(text_->toPlainText().left(MaxTypedForsythLength));
  ForsythToBoard(typed, board_);
  if (boardChanged) boardChanged();
}

bool RunForsythDialog(QWidget* parent, const Language& language, const QString& title, Board& board,
                      int borderStyle, std::function<void()> boardChanged) {
  ForsythDialog dialog(board, borderStyle, language, title, parent);
  dialog.boardChanged = std::move(boardChanged);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace kv::app
