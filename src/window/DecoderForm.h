// The decoder's part of the main window: its first address, the group B address and decoder
// number that follow from it, and the modes of both groups. A run reads its four commands from
// here step by step, so a field changed during a run counts at its step.
#pragma once

#include "link/CommandStationLink.h"
#include "window/DecoderList.h"

struct MainWindowWidgets;

class DecoderForm {
 public:
  explicit DecoderForm(MainWindowWidgets& widgets);

  // Mode captions, the first modes and address 1, as after a user's choice.
  void ApplyStartDefaults();
  // What step 1 to 4 of a run sends: the first address, mode A, the group B address, mode B.
  AccessoryCommand StepCommand(int step) const;
  int GroupBAddress() const;
  // The highest first address the field takes.
  int FieldHighestAddress() const;
  void SetFieldHighestAddress(int highest);
  // As typed in the row: one the station cannot reach shows its own address, which the run then
  // refuses, instead of another one it was clamped to.
  void Fill(const DecoderRow& row);
  // The next decoder's first address, the one after this one's four turnouts.
  void AdvanceToNextDecoder(int highestFirstAddress);

 private:
  void FirstAddressChanged();

  MainWindowWidgets& w_;
};
