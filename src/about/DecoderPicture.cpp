#include "about/DecoderPicture.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kWidth = 128;
constexpr int kHeight = 96;
constexpr int kOutputTerminals = 8;

void DrawBoard(QPainter& p) {
  QPainterPath board;
  board.addRoundedRect(QRectF(6, 18, 116, 70), 5, 5);
  p.fillPath(board, QColor(0x1f, 0x6e, 0x3a));
  p.setPen(QPen(QColor(0x12, 0x45, 0x24), 1.5));
  p.drawPath(board);
  // Mounting holes in the corners.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd8, 0xc0, 0x70));
  for (const QPointF& hole : {QPointF(12, 82), QPointF(116, 82)}) p.drawEllipse(hole, 3, 3);
  p.setBrush(QColor(0x40, 0x40, 0x40));
  for (const QPointF& hole : {QPointF(12, 82), QPointF(116, 82)}) p.drawEllipse(hole, 1.4, 1.4);
}

// The eight screw terminals of the four outputs, in pairs along the top edge.
void DrawOutputTerminals(QPainter& p) {
  const qreal pitch = 13;
  const qreal left = 64 - pitch * kOutputTerminals / 2 + 1;
  for (int i = 0; i < kOutputTerminals; ++i) {
    const qreal x = left + i * pitch;
    p.setPen(QPen(QColor(0x0d, 0x3f, 0x8a), 1));
    p.setBrush(QColor(0x2a, 0x6c, 0xd0));
    p.drawRect(QRectF(x, 8, pitch - 1, 16));
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.setBrush(QColor(0xc8, 0xc8, 0xc8));
    const QPointF screw(x + (pitch - 1) / 2, 14);
    p.drawEllipse(screw, 4, 4);
    p.drawLine(screw + QPointF(-3, 0), screw + QPointF(3, 0));
  }
  // Pair markings: one output per two terminals.
  p.setPen(QPen(Qt::white, 1));
  for (int pair = 0; pair < kOutputTerminals / 2; ++pair) {
    const qreal x = left + pair * 2 * pitch;
    p.drawLine(QPointF(x + 1, 27), QPointF(x + 2 * pitch - 2, 27));
  }
}

void DrawController(QPainter& p) {
  const QRectF chip(46, 40, 36, 20);
  p.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1));
  for (int pin = 0; pin < 7; ++pin) {
    const qreal x = chip.left() + 3 + pin * 5;
    p.drawLine(QPointF(x, chip.top() - 3), QPointF(x, chip.top()));
    p.drawLine(QPointF(x, chip.bottom()), QPointF(x, chip.bottom() + 3));
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1a, 0x1a, 0x1a));
  p.drawRect(chip);
  p.setBrush(QColor(0x50, 0x50, 0x50));
  p.drawEllipse(QPointF(chip.left() + 4, chip.top() + 4), 1.5, 1.5);
}

void DrawProgrammingButton(QPainter& p) {
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
  p.setBrush(QColor(0x9a, 0x9a, 0x9a));
  p.drawRect(QRectF(14, 56, 18, 18));
  p.setBrush(QColor(0xb0, 0x20, 0x20));
  p.drawEllipse(QPointF(23, 65), 6, 6);
}

void DrawLeds(QPainter& p) {
  struct Led {
    QPointF at;
    QColor colour;
    const char* group;
  };
  const Led leds[] = {{QPointF(98, 50), QColor(0xff, 0x30, 0x30), "A"},
                      {QPointF(98, 66), QColor(0x40, 0xff, 0x40), "B"}};
  QFont font(QStringLiteral("Sans Serif"));
  font.setPixelSize(8);
  font.setBold(true);
  p.setFont(font);
  for (const Led& led : leds) {
    p.setPen(QPen(led.colour.darker(180), 1));
    p.setBrush(led.colour);
    p.drawEllipse(led.at, 4, 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(led.at + QPointF(-1.3, -1.3), 1.2, 1.2);
    p.setPen(Qt::white);
    p.drawText(QPointF(led.at.x() + 8, led.at.y() + 3), QString::fromLatin1(led.group));
  }
}

void DrawSilkscreen(QPainter& p) {
  QFont font(QStringLiteral("Sans Serif"));
  font.setPixelSize(9);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(40, 66, 48, 14), Qt::AlignCenter, QStringLiteral("WD10"));
}

}  // namespace

QImage DrawDecoderPicture() {
  QImage picture(kWidth, kHeight, QImage::Format_RGB888);
  picture.fill(QColor(0xf0, 0xf0, 0xf0));
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  DrawBoard(p);
  DrawOutputTerminals(p);
  DrawController(p);
  DrawProgrammingButton(p);
  DrawLeds(p);
  DrawSilkscreen(p);
  return picture;
}
