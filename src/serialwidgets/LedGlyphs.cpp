#include "serialwidgets/LedGlyphs.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QColor LampColour(LedKind kind) {
  switch (kind) {
    case lkRedLight:
      return QColor(224, 32, 32);
    case lkGreenLight:
      return QColor(32, 192, 48);
    case lkBlueLight:
      return QColor(40, 96, 232);
    case lkYellowLight:
      return QColor(240, 208, 24);
    case lkPurpleLight:
      return QColor(168, 56, 208);
    case lkBulb:
    case lkCustom:
      break;
  }
  return {};
}

// An unlit lamp keeps a trace of its colour, so a row of dark lamps still tells them apart.
QColor Dulled(const QColor& colour) {
  return QColor::fromHsv(colour.hsvHue(), colour.hsvSaturation() * 2 / 5, 96);
}

QImage EmptyGlyph() {
  QImage image(kLedGlyphSize, kLedGlyphSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

void DrawHighlight(QPainter& painter, const QRectF& area, int alpha) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, alpha));
  painter.drawEllipse(area);
}

QImage DrawLamp(const QColor& colour, LedState state) {
  QImage image = EmptyGlyph();
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF body(1, 1, 13, 13);
  const bool lit = state == lsOn;
  const QColor face = lit ? colour : Dulled(colour);

  // Light falls from the upper left: brightest there, darkest at the lower right rim.
  QRadialGradient shading(QPointF(6, 6), 8, QPointF(5, 5));
  shading.setColorAt(0.0, face.lighter(lit ? 170 : 125));
  shading.setColorAt(0.45, face);
  shading.setColorAt(1.0, face.darker(lit ? 140 : 160));
  painter.setBrush(shading);
  painter.setPen(QPen(face.darker(lit ? 200 : 250), 1));
  painter.drawEllipse(body.adjusted(0.5, 0.5, -0.5, -0.5));

  DrawHighlight(painter, QRectF(3.5, 3, 4, 3), lit ? 220 : 70);
  return image;
}

QImage DrawBulb(LedState state) {
  QImage image = EmptyGlyph();
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  const bool lit = state == lsOn;

  // Screw base with two threads.
  painter.setPen(QPen(QColor(80, 80, 80), 1));
  painter.setBrush(QColor(168, 168, 168));
  painter.drawRect(QRectF(5.5, 10.5, 4, 3));
  painter.drawLine(QPointF(5.5, 12), QPointF(9.5, 12));
  painter.setBrush(QColor(64, 64, 64));
  painter.drawRect(QRectF(6.5, 13.5, 2, 1));

  QPainterPath glass;
  glass.addEllipse(QRectF(2, 0.5, 11, 10.5));
  const QColor glow = lit ? QColor(255, 224, 64) : QColor(150, 150, 150);
  QRadialGradient shading(QPointF(7.5, 5.5), 7, QPointF(6, 4));
  shading.setColorAt(0.0, lit ? QColor(255, 255, 224) : QColor(200, 200, 200));
  shading.setColorAt(0.5, glow);
  shading.setColorAt(1.0, glow.darker(lit ? 130 : 150));
  painter.setBrush(shading);
  painter.setPen(QPen(glow.darker(lit ? 190 : 200), 1));
  painter.drawPath(glass);

  // The filament glows orange when lit and is a thin grey wire when not.
  painter.setPen(QPen(lit ? QColor(232, 112, 0) : QColor(96, 96, 96), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(QPolygonF(
      {QPointF(6, 10), QPointF(6, 6.5), QPointF(7.5, 5), QPointF(9, 6.5), QPointF(9, 10)}));

  DrawHighlight(painter, QRectF(4, 2.5, 3, 2.5), lit ? 230 : 90);
  return image;
}

}  // namespace

QPixmap LedGlyph(LedKind kind, LedState state) {
  switch (kind) {
    case lkCustom:
      return {};
    case lkBulb:
      return QPixmap::fromImage(DrawBulb(state));
    default:
      return QPixmap::fromImage(DrawLamp(LampColour(kind), state));
  }
}
