#include "app/command_icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <array>
#include <memory>
#include <vector>

#include "app/commands.h"

namespace kv::app {
namespace {

struct IconOf {
  int command;
  const char* name;
};
// Every toolbar button, in the order of the bands: navigation, main, effects.
constexpr std::array<IconOf, 22> Icons = {{
    {CmdFirst, "first"},
    {CmdPrevious, "previous"},
    {CmdNext, "next"},
    {CmdLast, "last"},
    {CmdOpen, "open"},
    {CmdSaveAs, "save"},
    {CmdPrintButton, "print"},
    {CmdPreview, "preview"},
    {CmdInformation, "information"},
    {CmdSearchPositions, "search"},
    {CmdOldList, "list"},
    {CmdVisualizer, "visualizer"},
    {CmdSearchSolution, "solve"},
    {CmdSolvingOptions, "options"},
    {CmdSpecialEffects, "effects"},
    {188, "shift-up"},
    {182, "shift-down"},
    {184, "shift-left"},
    {186, "shift-right"},
    {185, "rotate"},
    {183, "mirror-left-right"},
    {189, "mirror-top-bottom"},
}};

// Draws one SVG drawing at the size asked for; a disabled button gets the
// style's greyed form of it.
class SvgIconEngine : public QIconEngine {
 public:
  explicit SvgIconEngine(const QString& file)
      : file_(file), renderer_(std::make_shared<QSvgRenderer>(file)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1;
    painter->drawPixmap(rect,
                        scaledPixmap((QSizeF(rect.size()) * ratio).toSize(), mode, state, ratio));
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1);
  }

  // `pixels`: the size in device pixels (QIcon passes the logical size times
  // the scale); the drawing is rendered at that size, not scaled up.
  QPixmap scaledPixmap(const QSize& pixels, QIcon::Mode mode, QIcon::State, qreal scale) override {
    if (pixels.isEmpty()) return {};
    QPixmap image(pixels);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      renderer_->render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    if (mode == QIcon::Disabled) {
      QStyleOption option;
      image = QApplication::style()->generatedIconPixmap(QIcon::Disabled, image, &option);
    }
    image.setDevicePixelRatio(scale);
    return image;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  QIconEngine* clone() const override { return new SvgIconEngine(*this); }
  QString key() const override { return QStringLiteral("kestrovale-svg"); }

 private:
  QString file_;
  std::shared_ptr<QSvgRenderer> renderer_;
};

}  // namespace

QString CommandIconName(int command) {
  for (const IconOf& icon : Icons)
    if (icon.command == command)
      return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon.name));
  return {};
}

QIcon CommandIcon(int command) {
  const QString name = CommandIconName(command);
  if (name.isEmpty()) return {};
  return QIcon(new SvgIconEngine(name));
}

const std::vector<int>& CommandsWithIcons() {
  static const std::vector<int> commands = [] {
    std::vector<int> ids;
    ids.reserve(std::size(Icons));
    for (const IconOf& icon : Icons) ids.push_back(icon.command);
    return ids;
  }();
  return commands;
}

}  // namespace kv::app
