// When a simulated interface that answers every frame stops answering: never, from the start
// (switched off), or once it has passed on a given number of accessory commands, each an
// output-on and an output-off frame (switched off or its cable pulled in the middle of a run).
// A silent interface passes nothing on and says nothing. Not locked: its simulator guards it.
#pragma once

#include <optional>

class InterfaceSilence {
 public:
  void SetSilent(bool silent) {
    silent_ = silent;
    commandsBeforeSilence_.reset();
  }

  // Counted from this call on.
  void FallSilentAfterAccessoryCommands(int commands) {
    silent_ = false;
    commandsBeforeSilence_ = commands;
    accessoryFrames_ = 0;
  }

  // Whether the interface passes this frame on and answers it, telling whether it is a frame of
  // an accessory command.
  bool Passes(bool accessoryFrame) {
    if (commandsBeforeSilence_ && accessoryFrames_ >= kFramesPerCommand * *commandsBeforeSilence_)
      silent_ = true;
    if (silent_) return false;
    if (accessoryFrame) ++accessoryFrames_;
    return true;
  }

 private:
  static constexpr int kFramesPerCommand = 2;

  bool silent_ = false;
  std::optional<int> commandsBeforeSilence_;
  int accessoryFrames_ = 0;
};
