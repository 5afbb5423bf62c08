#include "platform/FitToFont.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QRegularExpression>
#include <QString>
#include <QStyle>
#include <algorithm>
#include <cmath>

namespace {

// Children placed by hand inside a container; what a control keeps inside itself (a spin box's
// editor, a scroll area's viewport) it places itself.
bool IsContainer(const QWidget* widget) {
  if (qobject_cast<const QAbstractScrollArea*>(widget)) return false;
  return widget->metaObject() == &QWidget::staticMetaObject ||
         qobject_cast<const QGroupBox*>(widget) ||
         widget->metaObject()->className() == QByteArrayLiteral("QFrame");
}

template <typename Visit>
void ForEachPlaced(QWidget& container, const Visit& visit) {
  if (container.layout()) return;
  for (QWidget* child : container.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    visit(*child);
    if (IsContainer(child)) ForEachPlaced(*child, visit);
  }
}

// How much wider the widget would have to be to show its caption. A widget never given a size
// takes the size its caption needs when it is shown.
double Pressure(const QWidget& widget) {
  if (!widget.testAttribute(Qt::WA_Resized)) return 1;
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    if (label->wordWrap() || !label->pixmap().isNull()) return 1;
    const QVariant widest = label->property(kWidestTextProperty);
    const QString text = widest.isValid() ? widest.toString() : label->text();
    const int room = label->contentsRect().width();
    return room > 0 ? double(CaptionWidth(*label, text)) / room : 1;
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
    if (button->text().isEmpty() || button->width() <= 0) return 1;
    return double(button->sizeHint().width()) / button->width();
  }
  if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) {
    if (group->title().isEmpty() || group->width() <= 0) return 1;
    const int indent = group->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    return double(CaptionWidth(*group, group->title()) + 2 * indent) / group->width();
  }
  return 1;
}

QPoint Scaled(const QPoint& point, double factor) {
  return QPoint(int(std::lround(point.x() * factor)), int(std::lround(point.y() * factor)));
}

QSize Scaled(const QSize& size, double factor) {
  return QSize(int(std::ceil(size.width() * factor)), int(std::ceil(size.height() * factor)));
}

}  // namespace

int CaptionWidth(const QWidget& widget, const QString& text) {
  static const QRegularExpression mnemonic(QStringLiteral("&(?!&)"));
  return widget.fontMetrics().horizontalAdvance(QString(text).remove(mnemonic));
}

double FitToFont(QWidget& window) {
  double factor = 1;
  ForEachPlaced(window, [&](QWidget& widget) { factor = std::max(factor, Pressure(widget)); });
  if (factor <= 1) return 1;
  ForEachPlaced(window, [&](QWidget& widget) {
    if (widget.testAttribute(Qt::WA_Resized))
      widget.setGeometry(QRect(Scaled(widget.pos(), factor), Scaled(widget.size(), factor)));
    else
      widget.move(Scaled(widget.pos(), factor));
  });
  const QSize size = Scaled(window.size(), factor);
  if (window.minimumSize() == window.maximumSize())
    window.setFixedSize(size);
  else
    window.resize(size);
  return factor;
}
