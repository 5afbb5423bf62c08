// What a Kuehn WD10 in learning mode takes from the first four accessory "on" commands it sees:
// its first turnout address, the mode of group A, the address of group B (which must be the
// first address + 4) and the mode of group B. Later commands are not looked at until the next
// learning round. Turnouts are counted as in the program's address field.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct Wd10Learnt {
  int firstAddress = 0;
  int decoderNumber = 0;
  int modeA = 0;
  QString modeAName;  // the program's caption of the mode; empty when the number is no mode
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

// The mode caption of the program for a mode number (2 to 8); empty for any other number.
QString Wd10ModeName(int mode);

// What was learnt, in readable lines.
QStringList DescribeLearnt(const Wd10Learnt& learnt);
