#include "serialwidgets/EditPortSettings.h"

#include <QDialog>
#include <QPointer>
#include <array>

#include "platform/DialogAnswer.h"
#include "serial/SerialPort.h"
#include "serialwidgets/PortSettingComboBox.h"
#include "serialwidgets/PortSettingsDialog.h"

// The port is taken by reference yet watched: the window may let it go while the user is still
// choosing.
Task<bool> EditPortSettings(SerialPortBase& port) {
  const QPointer<SerialPortBase> target(&port);
  PortSettingsDialog form;
  const std::array<PortSettingComboBox*, 6> combos{form.portCombo,     form.baudRateCombo,
                                                   form.dataBitsCombo, form.stopBitsCombo,
                                                   form.parityCombo,   form.flowControlCombo};
  for (PortSettingComboBox* combo : combos) combo->SetComPort(&port);
  for (PortSettingComboBox* combo : combos) combo->UpdateSettings();
  // Meanwhile the port list follows adapters plugged in or pulled out.
  Task<int> answer = AnswerOf(form);
  if (PortSettingsDialog::AnswerHook()) PortSettingsDialog::AnswerHook()(form);
  const int result = co_await std::move(answer);
  if (result != QDialog::Accepted || !target) co_return false;

  target->BeginUpdate();
  try {
    for (PortSettingComboBox* combo : combos) combo->ApplySettings();
  } catch (...) {
    // A failed reopen on the new name must not leave the update count raised, or no later
    // setting would reach the device. The first failure is the one the caller must see, so a
    // second one from applying the rest is dropped.
    try {
      target->EndUpdate();
    } catch (...) {
    }
    throw;
  }
  target->EndUpdate();
  co_return true;
}
