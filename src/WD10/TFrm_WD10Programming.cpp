// The programming run: four accessory commands, four seconds apart, from which a WD10 in
// learning mode takes its address and the modes of its two groups.
#include <QPushButton>
#include <QRadioButton>

#include "CPort/TComPort.h"
#include "ScktComp/TClientSocket.h"
#include "WD10/Lenz.h"
#include "WD10/LongHandler.h"
#include "WD10/Maerklin.h"
#include "WD10/TFrm_WD10.h"
#include "WD10/TSpinEdit.h"
#include "loconet/LocoNetLink.h"
#include "p50x/P50XLink.h"
#include "platform/Messages.h"
#include "platform/TMemo.h"
#include "platform/TTimer.h"
#include "platform/UserNotifier.h"
#include "srcp/SrcpAccessory.h"

namespace {

constexpr int kLenzAddressOffset = 4;
// A Lenz accessory frame carries (turnout - 1) div 4 in one byte.
constexpr int kHighestLenzTurnout = 1024;

}  // namespace

void TFrm_WD10::Button2Click() {
  LongHandler busy(*this);
  if (RefuseUnreachableLenzAddresses()) return;
  const int offset = RadioButton17->isChecked() ? kLenzAddressOffset : 0;
  Button2->setEnabled(false);
  Memo1->Clear();
  ProcessMessages();
  // SRCP sends the address fields' text as it stands, the other links their number.
  const struct {
    int turnout;
    QString srcpAddress;
  } steps[] = {{SpinEdit1->Text().toInt(), SpinEdit1->Text()},
               {ModeOfGroupA(), QString::number(ModeOfGroupA())},
               {SpinEdit2->Text().toInt(), SpinEdit2->Text()},
               {ModeOfGroupB(), QString::number(ModeOfGroupB())}};
  for (const auto& step : steps) {
    Memo1->AddLine(QStringLiteral("Zet wisselnummer: %1").arg(step.turnout + offset));
    PerformAccessoryCommand(step.turnout, step.srcpAddress);
    if (SrcpSessionLost()) return;
    StepPause();
    // A close request stops the run here: no further commands go out.
    if (closeRequested_) return;
  }
  Memo1->AddLine(QStringLiteral("Druk op de programmeerknop van de WD10"));
  Button2->hide();
  Button3->show();
}

bool TFrm_WD10::SrcpSessionLost() {
  // A send on a connection that is gone sends nothing and says nothing; going on would end
  // with "Druk op de programmeerknop" for a decoder that heard no command.
  if (SelectedCentral() != CentralType::Srcp || ClientSocket1->Active()) return false;
  ShowMessage(
      QStringLiteral("Er is geen verbinding met de SRCP-server (meer); de decoder is "
                     "niet geprogrammeerd. Start de server en daarna dit programma "
                     "opnieuw."));
  Button2->hide();
  Button3->show();
  return true;
}

bool TFrm_WD10::RefuseUnreachableLenzAddresses() {
  if (!RadioButton17->isChecked()) return false;
  const int highestTurnout = SpinEdit2->Text().toInt() + kLenzAddressOffset;
  if (highestTurnout <= kHighestLenzTurnout) return false;
  constexpr int highestFirstAddress = 1016;
  ShowMessage(QStringLiteral("Een Lenz- of Roco-centrale kan geen wisselnummers boven %1 "
                             "schakelen; met dit adres zou de decoder een verkeerd adres leren.\n"
                             "Kies als eerste wisseladres %2 of lager.")
                  .arg(kHighestLenzTurnout)
                  .arg(highestFirstAddress));
  return true;
}

void TFrm_WD10::PerformAccessoryCommand(int turnout, const QString& srcpAddress) {
  const auto waitMs = [this](int milliseconds) { WaitMs(milliseconds); };
  switch (SelectedCentral()) {
    case CentralType::LocoNet:
      LocoNetSwitch(*ComPort1, turnout, 0, waitMs);
      break;
    case CentralType::P50X:
      SwitchTurnoutP50X(turnout, 0);
      break;
    case CentralType::Lenz:
      LenzSwitch(*ComPort1, turnout + kLenzAddressOffset, waitMs);
      break;
    case CentralType::Maerklin:
      MaerklinSwitch(*ComPort1, turnout, waitMs);
      break;
    case CentralType::Srcp:
      SendSrcpGA(QStringLiteral("6"), srcpAddress, QStringLiteral("1"), QStringLiteral("N"));
      break;
  }
}

void TFrm_WD10::StepPause() {
  stepFlag_ = false;
  Timer4->SetEnabled(true);
  WaitUntil([this] { return stepFlag_ || closeRequested_; });
}

void TFrm_WD10::Timer4Timer() {
  Timer4->SetEnabled(false);
  stepFlag_ = true;
}
