// What a Kuehn WD10 in learning mode takes from the first four accessory "on" commands it sees:
// its first turnout address, the mode of group A, the address of group B (which must be the
// first address + 4) and the mode of group B. Later commands are not looked at until the next
// learning round. Turnouts are counted as in the program's address field.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The decoder as its manual describes it, kept apart from the program's own model so that a
// fault there is not mirrored here.
namespace Wd10 {

// A decoder takes eight consecutive turnouts: four for group A, then four for group B.
inline constexpr int kTurnoutsPerDecoder = 8;
inline constexpr int kGroupBOffset = 4;

// Accessory decoders are counted in blocks of four turnouts: the number of the block that holds
// the turnout.
constexpr int DecoderNumber(int turnout) {
  return (turnout + 3) / 4;
}

}  // namespace Wd10

struct Wd10Learnt {
  int firstAddress = 0;
  int decoderNumber = 0;
  int modeA = 0;
  QString modeAName;  // the mode's name; empty when the number is no mode
  int groupBAddress = 0;
  bool groupBAddressAsExpected = false;  // the third command was the first address + 4
  int modeB = 0;
  QString modeBName;
};

class Wd10Learner {
 public:
  static constexpr int kCommandsLearnt = 4;

  // One accessory "on" command for turnout.
  void Hear(int turnout);
  // Starts a new learning round, as pressing the decoder's programming button again does.
  void Reset();

  bool Done() const { return heard_.size() == kCommandsLearnt; }
  // Set once four commands have been heard.
  std::optional<Wd10Learnt> Learnt() const;

 private:
  std::vector<int> heard_;
};

// The name of a mode number (2 to 8); empty for any other number.
QString Wd10ModeName(int mode);

// What was learnt, in readable lines.
QStringList DescribeLearnt(const Wd10Learnt& learnt);
