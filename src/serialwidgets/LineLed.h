// A signal indicator: a small lamp that shows one signal of a port (connection, CTS, DSR,
// carrier, ring, receive, transmit), or, while no port is bound, whatever state the program
// sets.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "serial/SerialPortListener.h"
#include "serialwidgets/LedTypes.h"

class SerialPortBase;

class LineLed : public QWidget {
  Q_OBJECT

 public:
  explicit LineLed(QWidget* parent = nullptr);
  ~LineLed() override;

  SerialPortBase* ComPort() const { return port_; }
  void SetComPort(SerialPortBase* port);
  LineLedSignal LedSignal() const { return ledSignal_; }
  void SetLedSignal(LineLedSignal value);
  LedKind Kind() const { return kind_; }
  void SetKind(LedKind value);
  // Custom glyphs take effect only with Kind lkCustom; for other kinds they are ignored.
  const QPixmap& GlyphOn() const { return glyphOn_; }
  void SetGlyphOn(const QPixmap& value);
  const QPixmap& GlyphOff() const { return glyphOff_; }
  void SetGlyphOff(const QPixmap& value);
  LedState State() const { return state_; }
  // While a port is bound the lamp belongs to the port: raises SerialPortError ecLedState (19).
  void SetState(LedState value);
  int RingDuration() const { return ringTimer_.interval(); }
  void SetRingDuration(int milliseconds);
  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool value) { setEnabled(value); }

  LedStateHandler OnChange;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ChangeState(LedState value);
  void StateFromPort();
  void SignalChanged(bool onOff);
  void RingArrived();
  void RingTimeUp();
  void PortDestroyed();
  void LoadKindGlyphs();
  void SetCustomGlyph(QPixmap& glyph, const QPixmap& value);
  void DescribeForAccessibility();

  SerialPortBase* port_ = nullptr;
  QMetaObject::Connection portDestroyed_;
  SerialPortListener link_;
  LineLedSignal ledSignal_ = lsConn;
  LedKind kind_ = lkRedLight;
  LedState state_ = lsOff;
  QPixmap glyphOn_;
  QPixmap glyphOff_;
  QTimer ringTimer_;
};
