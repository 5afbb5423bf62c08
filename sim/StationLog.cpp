#include "StationLog.h"

#include <utility>

namespace {

QString WithDetail(QString text, const QString& detail) {
  if (!detail.isEmpty()) text += u' ' + detail;
  return text;
}

}  // namespace

void StationLog::SetListener(Listener listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

void StationLog::Report(StationEvent event) {
  Listener listener;
  {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
    if (events_.size() > kKeptEvents) events_.pop_front();
    listener = listener_;
  }
  // Outside the lock: a listener may look at the log itself.
  if (listener) listener(event);
}

void StationLog::ReportTurnout(int turnout, bool on, const QString& detail) {
  const QString text = QStringLiteral("turnout %1 %2").arg(turnout).arg(on ? "on" : "off");
  Report({on ? StationEvent::Kind::TurnoutOn : StationEvent::Kind::TurnoutOff, turnout,
          WithDetail(text, detail)});
}

void StationLog::ReportPower(bool on, const QString& detail) {
  Report({on ? StationEvent::Kind::PowerOn : StationEvent::Kind::PowerOff, 0,
          WithDetail(on ? QStringLiteral("power on") : QStringLiteral("power off"), detail)});
}

void StationLog::ReportOther(const QString& text) {
  Report({StationEvent::Kind::Other, 0, text});
}

QStringList StationLog::Lines() const {
  std::lock_guard lock(mutex_);
  QStringList lines;
  for (const StationEvent& event : events_) lines.append(event.text);
  return lines;
}

std::vector<int> StationLog::TurnoutsSwitchedOn() const {
  std::lock_guard lock(mutex_);
  std::vector<int> turnouts;
  for (const StationEvent& event : events_)
    if (event.kind == StationEvent::Kind::TurnoutOn) turnouts.push_back(event.turnout);
  return turnouts;
}
