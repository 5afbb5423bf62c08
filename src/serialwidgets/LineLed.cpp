#include "serialwidgets/LineLed.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "platform/ExceptionDisplay.h"
#include "serial/SerialPort.h"
#include "serial/SerialPortError.h"
#include "serialwidgets/LedGlyphs.h"

namespace {

constexpr int kLedSize = 25;

QString SignalName(LineLedSignal signal) {
  switch (signal) {
    case lsConn:
      return QCoreApplication::translate("LineLed", "Verbinding");
    case lsCTS:
      return QStringLiteral("CTS");
    case lsDSR:
      return QStringLiteral("DSR");
    case lsRLSD:
      return QCoreApplication::translate("LineLed", "Draaggolf (RLSD)");
    case lsRing:
      return QCoreApplication::translate("LineLed", "Belsignaal");
    case lsRx:
      return QCoreApplication::translate("LineLed", "Ontvangen");
    case lsTx:
      return QCoreApplication::translate("LineLed", "Verzenden");
  }
  return {};
}

}  // namespace

LineLed::LineLed(QWidget* parent) : QWidget(parent) {
  resize(kLedSize, kLedSize);
  link_.OnConn = [this](QObject*, bool onOff) { SignalChanged(onOff); };
  ringTimer_.setSingleShot(true);
  ringTimer_.setInterval(1000);
  connect(&ringTimer_, &QTimer::timeout, this, [this] { RunGuarded([this] { RingTimeUp(); }); });
  LoadKindGlyphs();
  DescribeForAccessibility();
}

LineLed::~LineLed() {
  if (port_) port_->UnregisterLink(&link_);
}

QSize LineLed::sizeHint() const {
  return QSize(kLedSize, kLedSize);
}

void LineLed::SetComPort(SerialPortBase* port) {
  if (port == port_) return;
  if (port_) {
    disconnect(portDestroyed_);
    port_->UnregisterLink(&link_);
  }
  port_ = port;
  if (port_) {
    portDestroyed_ = connect(port_, &QObject::destroyed, this, &LineLed::PortDestroyed);
    port_->RegisterLink(&link_);
  }
  // A closed port has every signal off; a lamp left lit from before the binding would claim a
  // connection or a line state that is not there.
  if (port_ && port_->Connected())
    StateFromPort();
  else
    ChangeState(lsOff);
}

void LineLed::PortDestroyed() {
  // The port is past its own destructor here, which has already dropped its list of links:
  // there is nothing left to unregister from.
  port_ = nullptr;
  portDestroyed_ = {};
  ChangeState(lsOff);
}

void LineLed::StateFromPort() {
  bool on = false;
  switch (ledSignal_) {
    case lsConn:
      on = port_->Connected();
      break;
    case lsCTS:
      on = port_->Signals().Contains(csCTS);
      break;
    case lsDSR:
      on = port_->Signals().Contains(csDSR);
      break;
    case lsRLSD:
      on = port_->Signals().Contains(csRLSD);
      break;
    case lsRing:
    case lsRx:
    case lsTx:
      break;
  }
  ChangeState(on ? lsOn : lsOff);
}

void LineLed::SetLedSignal(LineLedSignal value) {
  if (value == ledSignal_) return;
  ledSignal_ = value;
  link_.ClearSlots();
  const auto signalChanged = [this](QObject*, bool onOff) { SignalChanged(onOff); };
  switch (value) {
    case lsConn:
      link_.OnConn = signalChanged;
      break;
    case lsCTS:
      link_.OnCTSChange = signalChanged;
      break;
    case lsDSR:
      link_.OnDSRChange = signalChanged;
      break;
    case lsRLSD:
      link_.OnRLSDChange = signalChanged;
      break;
    case lsRing:
      link_.OnRing = [this](QObject*) { RingArrived(); };
      break;
    case lsRx:
      link_.OnRx = signalChanged;
      break;
    case lsTx:
      link_.OnTx = signalChanged;
      break;
  }
  DescribeForAccessibility();
}

void LineLed::SignalChanged(bool onOff) {
  ChangeState(onOff ? lsOn : lsOff);
  // The port calls this from inside Write, Read, Open and Close, and from its serial event
  // batches, while the user-interface thread is busy there. Pumping the message queue here
  // would run queued serial batches (a receive handler reading the port in the middle of a
  // write), timers (a poll writing its own frame into ours), clicks, and deferred deletes of
  // the very port that is calling us. All the pump was ever for is to show the lamp change
  // before the blocking call returns, so paint this widget now and process nothing else.
  repaint();
}

void LineLed::RingArrived() {
  // A duration of 0 or less keeps the lamp lit until the next change.
  if (ringTimer_.interval() > 0) ringTimer_.start();
  ChangeState(lsOn);
}

void LineLed::RingTimeUp() {
  ChangeState(lsOff);
}

void LineLed::SetRingDuration(int milliseconds) {
  ringTimer_.setInterval(milliseconds);
  if (milliseconds <= 0) ringTimer_.stop();
}

void LineLed::SetState(LedState value) {
  if (port_) throw SerialPortError(ecLedState);
  ChangeState(value);
}

void LineLed::ChangeState(LedState value) {
  state_ = value;
  DescribeForAccessibility();
  if (OnChange) OnChange(this, value);
  update();
}

void LineLed::SetKind(LedKind value) {
  if (value == kind_) return;
  kind_ = value;
  LoadKindGlyphs();
  update();
}

void LineLed::LoadKindGlyphs() {
  if (kind_ == lkCustom) return;
  glyphOn_ = LedGlyph(kind_, lsOn);
  glyphOff_ = LedGlyph(kind_, lsOff);
}

void LineLed::SetGlyphOn(const QPixmap& value) {
  SetCustomGlyph(glyphOn_, value);
}

void LineLed::SetGlyphOff(const QPixmap& value) {
  SetCustomGlyph(glyphOff_, value);
}

void LineLed::SetCustomGlyph(QPixmap& glyph, const QPixmap& value) {
  if (kind_ != lkCustom) return;
  glyph = value;
  // A glyph without an alpha channel is see-through where it has the colour of its lower left
  // pixel, as a bitmap's automatic transparent colour is.
  if (!glyph.isNull() && !glyph.hasAlphaChannel()) {
    const QColor background = glyph.toImage().pixelColor(0, glyph.height() - 1);
    glyph.setMask(glyph.createMaskFromColor(background, Qt::MaskInColor));
  }
  update();
}

void LineLed::paintEvent(QPaintEvent*) {
  if (glyphOn_.isNull() || glyphOff_.isNull()) LoadKindGlyphs();
  // A disabled lamp shows nothing of the signal: always the unlit glyph.
  const QPixmap& glyph = isEnabled() && state_ == lsOn ? glyphOn_ : glyphOff_;
  if (glyph.isNull()) return;
  const QRect client = rect();
  const int left = client.left() + std::max(0, (client.width() - glyph.width()) / 2);
  const int top = client.top() + std::max(0, (client.height() - glyph.height()) / 2);
  QPainter(this).drawPixmap(left, top, glyph);
}

void LineLed::DescribeForAccessibility() {
  setAccessibleName(SignalName(ledSignal_));
  setAccessibleDescription(state_ == lsOn ? tr("aan") : tr("uit"));
}
