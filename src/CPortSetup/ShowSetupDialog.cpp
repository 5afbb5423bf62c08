#include "CPortSetup/ShowSetupDialog.h"

#include <QDialog>
#include <array>

#include "CPort/TComPort.h"
#include "CPortCtl/TComComboBox.h"
#include "CPortSetup/TComSetupFrm.h"

void ShowSetupDialog(TCustomComPort& port) {
  TComSetupFrm form;
  const std::array<TComComboBox*, 6> combos{form.Combo1, form.Combo2, form.Combo3,
                                            form.Combo4, form.Combo5, form.Combo6};
  for (TComComboBox* combo : combos) combo->SetComPort(&port);
  for (TComComboBox* combo : combos) combo->UpdateSettings();
  if (form.Execute() != QDialog::Accepted) return;

  port.BeginUpdate();
  try {
    for (TComComboBox* combo : combos) combo->ApplySettings();
  } catch (...) {
    // A failed reopen on the new name must not leave the update count raised, or no later
    // setting would reach the device. The first failure is the one the caller must see, so a
    // second one from applying the rest is dropped.
    try {
      port.EndUpdate();
    } catch (...) {
    }
    throw;
  }
  port.EndUpdate();
}
