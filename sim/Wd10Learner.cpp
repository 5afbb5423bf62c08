#include "Wd10Learner.h"

#include <array>

namespace {

// The modes by the turnout number the decoder learns each from, with the names that the
// program's window gives them.
struct Mode {
  int number;
  const char* name;
};

constexpr std::array<Mode, 7> kModes{{
    {2, "4 uitgangen als impuls (LS100)"},
    {3, "4 uitgangen als impuls (K83)"},
    {4, "4 uitgangen als aan/uit (K84)"},
    {5, "Verlichtingsmode"},
    {6, "Sein met 2 begrippen"},
    {7, "Sein met 4 begrippen"},
    {8, "NS-Sein met 4 begrippen"},
}};

}  // namespace

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
  learnt.decoderNumber = Wd10::DecoderNumber(learnt.firstAddress);
  learnt.modeA = heard_[1];
  learnt.modeAName = Wd10ModeName(learnt.modeA);
  learnt.groupBAddress = heard_[2];
  learnt.groupBAddressAsExpected =
      learnt.groupBAddress == learnt.firstAddress + Wd10::kGroupBOffset;
  learnt.modeB = heard_[3];
  learnt.modeBName = Wd10ModeName(learnt.modeB);
  return learnt;
}

QString Wd10ModeName(int mode) {
  for (const Mode& known : kModes)
    if (known.number == mode) return QString::fromUtf8(known.name);
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
                     .arg(learnt.firstAddress + Wd10::kGroupBOffset));
  return lines;
}
