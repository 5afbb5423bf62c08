// What a simulated command station heard, told in the user's terms: one readable line per
// command, and for every accessory command the turnout as the user numbers it. Safe from any
// thread: the simulators report from their reader threads while a test or the tool looks on.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

struct StationEvent {
  enum class Kind { PowerOn, PowerOff, TurnoutOn, TurnoutOff, Other };
  Kind kind = Kind::Other;
  int turnout = 0;  // for TurnoutOn and TurnoutOff, counted from 1 as in the program's fields
  QString text;     // e.g. "turnout 17 on"
};

class StationLog {
 public:
  // A simulator may run for days: only the most recent events are kept.
  static constexpr std::size_t kKeptEvents = 10000;

  using Listener = std::function<void(const StationEvent&)>;

  // Called for every event from then on, on the thread that heard the command.
  void SetListener(Listener listener);

  // "turnout N on" / "turnout N off", followed by detail when it is not empty.
  void ReportTurnout(int turnout, bool on, const QString& detail = {});
  void ReportPower(bool on, const QString& detail = {});
  void ReportOther(const QString& text);

  QStringList Lines() const;
  // The turnouts of the accessory "on" commands kept, in the order they came.
  std::vector<int> TurnoutsSwitchedOn() const;

 private:
  void Report(StationEvent event);

  mutable std::mutex mutex_;
  std::deque<StationEvent> events_;
  Listener listener_;
};
