#include "platform/KeepOnScreen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {

qint64 Area(const QRect& rect) {
  return rect.isValid() ? qint64(rect.width()) * rect.height() : 0;
}

// How far the window's centre lies from the screen, along both axes together.
double Distance(const QRect& window, const QRect& screen) {
  const QPoint centre = window.center();
  const int dx = std::max({screen.left() - centre.x(), 0, centre.x() - screen.right()});
  const int dy = std::max({screen.top() - centre.y(), 0, centre.y() - screen.bottom()});
  return std::hypot(double(dx), double(dy));
}

int ChooseScreen(const QRect& wanted, const QList<QRect>& available, int primary) {
  int best = primary;
  qint64 bestArea = Area(wanted & available[primary]);
  for (int i = 0; i < available.size(); ++i) {
    if (const qint64 area = Area(wanted & available[i]); area > bestArea) {
      best = i;
      bestArea = area;
    }
  }
  if (bestArea > 0) return best;
  for (int i = 0; i < available.size(); ++i)
    if (Distance(wanted, available[i]) < Distance(wanted, available[best])) best = i;
  return best;
}

}  // namespace

QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& available, int primary) {
  if (available.isEmpty()) return wanted;
  const QRect& screen = available[ChooseScreen(wanted, available, primary)];
  QRect placed(wanted.topLeft(), wanted.size().boundedTo(screen.size()));
  placed.moveLeft(std::clamp(placed.left(), screen.left(), screen.right() - placed.width() + 1));
  placed.moveTop(std::clamp(placed.top(), screen.top(), screen.bottom() - placed.height() + 1));
  return placed;
}

void KeepOnScreen(QWidget& window, const QPoint& topLeft) {
  QList<QRect> available;
  int primary = 0;
  const QList<QScreen*> screens = QGuiApplication::screens();
  for (QScreen* screen : screens) {
    if (screen == QGuiApplication::primaryScreen()) primary = int(available.size());
    available << screen->availableGeometry();
  }
  // The frame is what must fit; a top-level window's position is its frame's.
  const QMargins frame = window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
  const QRect placed =
      PlaceOnScreens(QRect(topLeft, window.size().grownBy(frame)), available, primary);
  if (const QSize size = placed.size().shrunkBy(frame); size != window.size()) {
    // A window of fixed size keeps its size fixed, only smaller.
    if (window.minimumSize() == window.maximumSize())
      window.setFixedSize(size);
    else
      window.resize(size);
  }
  window.move(placed.topLeft());
}

namespace {

class OnScreenKeeper final : public QObject {
 public:
  explicit OnScreenKeeper(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
  }

  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    // The frame is known once the window manager has it on the screen, which no event of its
    // own announces: the window's first activation or repaint after that is the next chance.
    const bool mayHaveAFrameNow = type == QEvent::Move || type == QEvent::Resize ||
                                  type == QEvent::WindowActivate || type == QEvent::UpdateRequest;
    if ((type == QEvent::Show && !event->spontaneous()) ||
        (mayHaveAFrameNow && FrameMargins() != fittedWith_)) {
      fittedWith_ = FrameMargins();
      KeepOnScreen(window_, window_.pos());
    }
    return false;
  }

 private:
  QMargins FrameMargins() const {
    return window_.windowHandle() ? window_.windowHandle()->frameMargins() : QMargins();
  }

  QWidget& window_;
  // The frame the window was last fitted with.
  QMargins fittedWith_;
};

}  // namespace

void KeepWholeOnScreen(QWidget& window) {
  new OnScreenKeeper(window);
}
