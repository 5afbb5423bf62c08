// A signal indicator: a small lamp that shows one signal of a port (connection, CTS, DSR,
// carrier, ring, receive, transmit), or, while no port is bound, whatever state the program
// sets.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "CPort/TComLink.h"
#include "CPortCtl/LedTypes.h"
#include "platform/TTimer.h"

class TCustomComPort;

class TComLed : public QWidget {
  Q_OBJECT

 public:
  explicit TComLed(QWidget* parent = nullptr);
  ~TComLed() override;

  TCustomComPort* ComPort() const { return port_; }
  void SetComPort(TCustomComPort* port);
  TComLedSignal LedSignal() const { return ledSignal_; }
  void SetLedSignal(TComLedSignal value);
  TLedKind Kind() const { return kind_; }
  void SetKind(TLedKind value);
  // Custom glyphs take effect only with Kind lkCustom; for other kinds they are ignored.
  const QPixmap& GlyphOn() const { return glyphOn_; }
  void SetGlyphOn(const QPixmap& value);
  const QPixmap& GlyphOff() const { return glyphOff_; }
  void SetGlyphOff(const QPixmap& value);
  TLedState State() const { return state_; }
  // While a port is bound the lamp belongs to the port: raises EComPort ecLedState (19).
  void SetState(TLedState value);
  int RingDuration() const { return ringTimer_.Interval(); }
  void SetRingDuration(int milliseconds);
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool value) { setEnabled(value); }

  TLedStateEvent OnChange;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ChangeState(TLedState value);
  void StateFromPort();
  void SignalChanged(bool onOff);
  void RingArrived();
  void RingTimeUp();
  void PortDestroyed();
  void LoadKindGlyphs();
  void SetCustomGlyph(QPixmap& glyph, const QPixmap& value);
  void DescribeForAccessibility();

  TCustomComPort* port_ = nullptr;
  QMetaObject::Connection portDestroyed_;
  TComLink link_;
  TComLedSignal ledSignal_ = lsConn;
  TLedKind kind_ = lkRedLight;
  TLedState state_ = lsOff;
  QPixmap glyphOn_;
  QPixmap glyphOff_;
  TTimer ringTimer_{nullptr, 1000, false};
};
