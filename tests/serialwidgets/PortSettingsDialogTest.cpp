#include <gtest/gtest.h>

#include <QPointer>
#include <cerrno>
#include <memory>

#include "serial/MemoryDevice.h"
#include "serial/SerialPort.h"
#include "serialwidgets/EditPortSettings.h"
#include "serialwidgets/PortSettingComboBox.h"
#include "serialwidgets/PortSettingsDialog.h"
#include "support/AwaitTask.h"

namespace {

// Answers every dialog of a test through the hook; uninstalled again afterwards, so no test
// leaves it to another.
class SetupDialog : public testing::Test {
 protected:
  SetupDialog() { port.UseDevice(std::make_unique<MemoryDevice>(line)); }
  void TearDown() override { PortSettingsDialog::SetAnswerHook(nullptr); }

  // Runs EditPortSettings with choose() acting for the user, who then closes the shown dialog
  // with result; gives what the operation gave.
  bool Run(int result, const std::function<void(PortSettingsDialog&)>& choose = {}) {
    PortSettingsDialog::SetAnswerHook([&](PortSettingsDialog& form) {
      EXPECT_TRUE(form.isVisible() && !form.isModal());
      shown = {form.portCombo->Text(),     form.baudRateCombo->Text(),
               form.dataBitsCombo->Text(), form.stopBitsCombo->Text(),
               form.parityCombo->Text(),   form.flowControlCombo->Text()};
      if (choose) choose(form);
      form.done(result);
    });
    return Await(EditPortSettings(port));
  }

  QStringList shown;  // the six boxes' texts as the dialog opened
  std::shared_ptr<MemoryLine> line = std::make_shared<MemoryLine>();
  SerialPort port;
};

TEST_F(SetupDialog, ShowsThePortsSettingsAndWritesEveryChoiceOnOkInOneGo) {
  port.SetPort("/dev/ttySorvellTest");
  port.SetStopBits(sbTwoStopBits);
  port.Open();
  const int applied = line->LineSettingsCount();
  EXPECT_TRUE(Run(QDialog::Accepted, [](PortSettingsDialog& form) {
    form.baudRateCombo->SetText("57600");
    form.parityCombo->SetText("Even");
    form.flowControlCombo->SetText("Hardware");
  }));
  EXPECT_EQ(shown, QStringList({"/dev/ttySorvellTest", "9600", "8", "2", "None", "None"}));
  EXPECT_EQ(line->LineSettingsCount(), applied + 1);
  EXPECT_EQ(line->LineSettings().baudRate, 57600);
  EXPECT_EQ(line->LineSettings().parity, prEven);
  EXPECT_TRUE(port.FlowControl().OutCTSFlow());
  EXPECT_EQ(port.UpdateCount(), 0);
}

// The flow-control shorthand touches RTS, CTS flow and XON/XOFF only: a custom mix survives OK
// untouched, and None clears those but leaves DSR flow and DTR. Cancel writes nothing, and so
// does an operation ended while the dialog waits for its answer.
TEST_F(SetupDialog, FlowControlChoicesLeaveWhatTheShorthandDoesNotCover) {
  PortFlowControl& flow = port.FlowControl();
  flow.SetOutCTSFlow(true);
  flow.SetXonXoffIn(true);
  flow.SetOutDSRFlow(true);
  flow.SetControlDTR(dtrHandshake);
  Run(QDialog::Accepted);
  EXPECT_EQ(shown[5], "Custom");
  EXPECT_TRUE(flow.OutCTSFlow() && flow.XonXoffIn() && !flow.XonXoffOut());
  const auto chooseNone = [](PortSettingsDialog& form) {
    form.baudRateCombo->SetText("110");
    form.flowControlCombo->SetText("None");
  };
  EXPECT_FALSE(Run(QDialog::Rejected, chooseNone));
  EXPECT_EQ(port.BaudRate(), br9600);
  EXPECT_TRUE(flow.OutCTSFlow());
  QPointer<PortSettingsDialog> unanswered;
  PortSettingsDialog::SetAnswerHook([&](PortSettingsDialog& form) { unanswered = &form; });
  EditPortSettings(port).End();
  EXPECT_TRUE(unanswered.isNull());
  EXPECT_EQ(port.BaudRate(), br9600);
  Run(QDialog::Accepted, chooseNone);
  EXPECT_FALSE(flow.OutCTSFlow() || flow.XonXoffIn() || flow.XonXoffOut());
  EXPECT_TRUE(flow.OutDSRFlow() && flow.ControlDTR() == dtrHandshake);
}

// A new port name that cannot be opened: the failure reaches the caller, and neither the
// update count nor the dialog is left behind, so later settings still reach the device.
TEST_F(SetupDialog, AFailedApplyStillBalancesTheUpdateAndFreesTheDialog) {
  port.SetPort("/dev/ttyMemory0");
  port.Open();
  QPointer<PortSettingsDialog> dialog;
  EXPECT_THROW(Run(QDialog::Accepted,
                   [&](PortSettingsDialog& form) {
                     dialog = &form;
                     form.portCombo->addItem("/dev/ttyMemory1");
                     form.portCombo->SetText("/dev/ttyMemory1");
                     line->Fail(MemoryLine::Op::kOpen, ENOENT);
                   }),
               SerialPortError);
  EXPECT_EQ(port.UpdateCount(), 0);
  EXPECT_TRUE(dialog.isNull());
  line->Fail(MemoryLine::Op::kOpen, 0);
  port.Open();
  EXPECT_EQ(line->OpenedName(), "/dev/ttyMemory1");
  port.SetBaudRate(br4800);
  EXPECT_EQ(line->LineSettings().baudRate, 4800);
}

}  // namespace
