#include "CPortSetup/ShowSetupDialog.h"

#include <QDialog>
#include <QPointer>
#include <array>

#include "CPort/TComPort.h"
#include "CPortCtl/TComComboBox.h"
#include "CPortSetup/TComSetupFrm.h"
#include "platform/DialogAnswer.h"

// The port is taken by reference yet watched: the window may let it go while the user is still
// choosing.
Task<bool> ShowSetupDialog(TCustomComPort& port) {
  const QPointer<TCustomComPort> target(&port);
  TComSetupFrm form;
  const std::array<TComComboBox*, 6> combos{form.Combo1, form.Combo2, form.Combo3,
                                            form.Combo4, form.Combo5, form.Combo6};
  for (TComComboBox* combo : combos) combo->SetComPort(&port);
  for (TComComboBox* combo : combos) combo->UpdateSettings();
  // Meanwhile the port list follows adapters plugged in or pulled out.
  Task<int> answer = AnswerOf(form);
  if (TComSetupFrm::AnswerHook()) TComSetupFrm::AnswerHook()(form);
  const int result = co_await std::move(answer);
  if (result != QDialog::Accepted || !target) co_return false;

  target->BeginUpdate();
  try {
    for (TComComboBox* combo : combos) combo->ApplySettings();
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
