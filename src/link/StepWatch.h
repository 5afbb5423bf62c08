// What a station that answers in its own time (LocoNet, the Lenz interface) has said about the
// accessory command under way. The link tells it what each frame it sends should bring back and
// hands it what it hears; at the end of the step's pause it settles the step: refused, carried
// out with every confirmation in, lost for a confirmation that did not come, or unchecked on a
// station that has confirmed nothing since the connect (one that never confirms must not fail
// every run). It keeps what the station reports of the track's power as well: a step asked for
// while the station says the track is off reaches no decoder.
#pragma once

#include <QByteArray>
#include <QString>
#include <deque>
#include <optional>
#include <utility>

#include "link/AccessoryOutcome.h"
#include "link/LostOnWriteError.h"
#include "link/TrackPower.h"
#include "platform/Task.h"
#include "platform/Wakeup.h"

class StepWatch {
 public:
  // `owed` names the confirmation this station gives, for the user when one is missing.
  explicit StepWatch(AccessoryOutcome::MissingConfirmation owed) : owed_(owed) {}

  // A new connection: what an earlier one showed proves nothing about this one.
  void Connected() {
    alive_ = false;
    awaited_.clear();
    refusal_.reset();
    power_.Connected();
  }

  // The station has answered on this connection, so from now on it owes its confirmations.
  void SignOfLife() { alive_ = true; }

  // A frame is about to go out that the station confirms with `confirmation`; `missing` says in
  // English what is lacking when it does not come.
  void Await(QByteArray confirmation, QString missing) {
    awaited_.push_back({std::move(confirmation), std::move(missing)});
  }

  // A complete frame from the station. Confirmations come in the order of the frames they
  // confirm, so only the first one awaited can be matched, and only byte for byte.
  void Heard(const QByteArray& frame) {
    heard_.Notify();
    if (awaited_.empty() || awaited_.front().confirmation != frame) return;
    awaited_.pop_front();
    alive_ = true;
  }

  // The station will not carry out what it was sent. The first refusal heard since the step
  // began counts for it, whether its confirmations are in or not; one heard before the step is
  // about none of its frames.
  void Refused(const QString& said) {
    if (!refusal_) refusal_ = AccessoryOutcome::Refused(said);
  }

  // The station has refused the step under way: what is left of it would only be refused as
  // well, and that refusal could come late enough to be taken for the next step's.
  bool Refusing() const { return refusal_.has_value(); }

  // One accessory command: its writes (Await-ing their confirmations, pausing between frames:
  // a task) as a new step, whose outcome so far comes back: lost when the port failed, refused,
  // or carried out with the confirmations still due by the step's end. Nothing is written when
  // the station has reported the track off.
  template <typename Writes>
  Task<AccessoryOutcome> Step(QString what, Writes writes) {
    awaited_.clear();
    // Nothing goes out onto a track the station has reported without power; any other refusal
    // heard before the step is about none of its frames.
    refusal_ = power_.StepRefusal(power_.Mark());
    if (refusal_) co_return *refusal_;
    const std::optional<AccessoryOutcome> lost =
        co_await LostOnWriteError(std::move(what), std::move(writes));
    if (lost) co_return *lost;
    co_return Verdict(false);
  }

  // Before a run: when the station has reported the track off, the writes switch it on again
  // (Await-ing their confirmation) and the station has about two seconds to report it on.
  // Carried out, with the words of the power off when there was one, or lost (`missing` says
  // what did not come, in English), or lost for the port.
  template <typename Writes>
  Task<AccessoryOutcome> SwitchTrackOn(QString what, QString missing, Writes writes) {
    const std::optional<QString> off = power_.Off();
    if (!off) co_return AccessoryOutcome::CarriedOut();
    awaited_.clear();
    const std::optional<AccessoryOutcome> lost =
        co_await LostOnWriteError(std::move(what), std::move(writes));
    if (lost) co_return *lost;
    const Wakeup::Clock::time_point deadline = Wakeup::Clock::now() + kTrackOnLimit;
    bool heard = true;
    while (heard && power_.Off()) heard = co_await heard_.Until(deadline);
    if (power_.Off()) co_return AccessoryOutcome::Lost(missing);
    co_return AccessoryOutcome::CarriedOut(*off);
  }

  TrackPower& Power() { return power_; }

  // The step's outcome at the end of its pause, given what Step returned.
  AccessoryOutcome AtStepEnd(const AccessoryOutcome& returned) const {
    return returned.Failed() ? returned : Verdict(true);
  }

 private:
  struct Awaited {
    QByteArray confirmation;
    QString missing;
  };

  AccessoryOutcome Verdict(bool confirmationsDue) const {
    if (refusal_) return *refusal_;
    if (!alive_) return AccessoryOutcome::Unconfirmed();
    if (confirmationsDue && !awaited_.empty())
      return AccessoryOutcome::NotConfirmed(owed_, awaited_.front().missing);
    return AccessoryOutcome::CarriedOut();
  }

  // A station answers its power-on within milliseconds; this is ample for a busy bus.
  static constexpr std::chrono::milliseconds kTrackOnLimit{2000};

  AccessoryOutcome::MissingConfirmation owed_;
  TrackPower power_;
  bool alive_ = false;
  std::deque<Awaited> awaited_;
  std::optional<AccessoryOutcome> refusal_;
  Wakeup heard_;
};
