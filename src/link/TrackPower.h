// What a station has reported of the track's power since the connect, which switched it on: a
// short or the station's own stop key cuts it without the program asking, and every accessory
// command sent after that reaches no decoder however well the station confirms it.
#pragma once

#include <QString>
#include <optional>

#include "link/AccessoryOutcome.h"

class TrackPower {
 public:
  // The connect switches the power on: nothing reported before it counts any more.
  void Connected() {
    off_.reset();
    lastOff_.clear();
    offReports_ = 0;
  }

  // `said`: the station's words, in English, e.g. "82 7D: global power off".
  void ReportedOff(const QString& said) {
    off_ = said;
    lastOff_ = said;
    ++offReports_;
  }
  void ReportedOn() { off_.reset(); }

  // What the station said when it last reported the track off, while it has not reported it on.
  const std::optional<QString>& Off() const { return off_; }

  // Taken when a step starts, for StepRefusal at its end.
  quint64 Mark() const { return offReports_; }

  // A step that started at `mark` reached no decoder when the track is off now or went off
  // since (and perhaps on again: the decoder may have missed the command meanwhile).
  std::optional<AccessoryOutcome> StepRefusal(quint64 mark) const {
    if (off_) return AccessoryOutcome::Refused(*off_);
    if (offReports_ != mark) return AccessoryOutcome::Refused(lastOff_);
    return std::nullopt;
  }

 private:
  std::optional<QString> off_;
  QString lastOff_;
  quint64 offReports_ = 0;
};
