#include "Wd10Learner.h"

#include "WD10/DecoderModel.h"

void Wd10Learner::Hear(int turnout) {
  if (!Done()) heard_.push_back(turnout);
}

void Wd10Learner::Reset() {
  heard_.clear();
}

std::optional<Wd10Learnt> Wd10Learner::Learnt() const {
  if (!Done()) return std::nullopt;
  Wd10Learnt learnt;
  learnt.firstAddress = heard_[0];
  learnt.decoderNumber = DecoderModel::DecoderNumber(learnt.firstAddress);
  learnt.modeA = heard_[1];
  learnt.modeAName = Wd10ModeName(learnt.modeA);
  learnt.groupBAddress = heard_[2];
  learnt.groupBAddressAsExpected =
      learnt.groupBAddress == learnt.firstAddress + DecoderModel::kGroupBOffset;
  learnt.modeB = heard_[3];
  learnt.modeBName = Wd10ModeName(learnt.modeB);
  return learnt;
}

QString Wd10ModeName(int mode) {
  for (const DecoderModel::Mode& known : DecoderModel::kModes)
    if (known.number == mode) return QString::fromUtf8(known.caption);
  return {};
}

QStringList DescribeLearnt(const Wd10Learnt& learnt) {
  const auto mode = [](int number, const QString& name) {
    return name.isEmpty() ? QStringLiteral("%1, which is no mode (2 to 8)").arg(number)
                          : QStringLiteral("%1 \"%2\"").arg(number).arg(name);
  };
  QStringList lines{
      QStringLiteral("A WD10 in learning mode has learnt:"),
      QStringLiteral("  first turnout address %1 (decoder number %2)")
          .arg(learnt.firstAddress)
          .arg(learnt.decoderNumber),
      QStringLiteral("  group A: mode %1").arg(mode(learnt.modeA, learnt.modeAName)),
      QStringLiteral("  group B: turnout address %1, mode %2")
          .arg(learnt.groupBAddress)
          .arg(mode(learnt.modeB, learnt.modeBName)),
  };
  if (!learnt.groupBAddressAsExpected)
    lines.append(QStringLiteral("  warning: group B should start at %1 (the first address + 4)")
                     .arg(learnt.firstAddress + DecoderModel::kGroupBOffset));
  return lines;
}
