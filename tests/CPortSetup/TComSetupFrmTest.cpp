#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <functional>
#include <memory>

#include "CPort/MemoryDevice.h"
#include "CPort/TComPort.h"
#include "CPortCtl/TComComboBox.h"
#include "CPortSetup/ShowSetupDialog.h"
#include "CPortSetup/TComSetupFrm.h"
#include "support/WaitFor.h"

namespace {

// Whether the accessibility tree tells a screen reader that label names widget.
bool LabelledBy(QWidget* widget, QLabel* label) {
  for (const auto& [other, relation] :
       QAccessible::queryAccessibleInterface(widget)->relations(QAccessible::Label)) {
    if (other->object() == label) return true;
  }
  return false;
}

QWidget* NextTabStop(QWidget* widget) {
  do widget = widget->nextInFocusChain();
  while ((widget->focusPolicy() & Qt::TabFocus) == 0);
  return widget;
}

// Drives every dialog of a test through the hook; uninstalled again afterwards, so no test
// leaves it to another.
class SetupDialog : public testing::Test {
 protected:
  void TearDown() override { TComSetupFrm::SetExecHook(nullptr); }

  // Runs ShowSetupDialog with choose() acting for the user, who then closes with result.
  void Run(
      TComPort& port, int result,
      const std::function<void(TComSetupFrm&)>& choose = [](TComSetupFrm&) {}) {
    TComSetupFrm::SetExecHook([&](TComSetupFrm& form) {
      shown = {form.Combo1->Text(), form.Combo2->Text(), form.Combo3->Text(),
               form.Combo4->Text(), form.Combo5->Text(), form.Combo6->Text()};
      choose(form);
      return result;
    });
    ShowSetupDialog(port);
  }

  QStringList shown;  // the six boxes' texts as the dialog opened
};

TEST_F(SetupDialog, ShowsThePortsSettingsAndWritesEveryChoiceOnOkInOneGo) {
  auto line = std::make_shared<MemoryLine>();
  TComPort port;
  port.UseDevice(std::make_unique<MemoryDevice>(line));
  port.SetPort("/dev/ttySorvellTest");
  port.SetStopBits(sbTwoStopBits);
  port.Open();
  const int applied = line->LineSettingsCount();
  Run(port, QDialog::Accepted, [](TComSetupFrm& form) {
    form.Combo2->SetText("57600");
    form.Combo3->SetText("7");
    form.Combo4->SetText("1.5");
    form.Combo5->SetText("Even");
    form.Combo6->SetText("Hardware");
  });
  EXPECT_EQ(shown, QStringList({"/dev/ttySorvellTest", "9600", "8", "2", "None", "None"}));
  EXPECT_EQ(port.Port(), "/dev/ttySorvellTest");  // not in the system's list, still kept
  EXPECT_EQ(line->LineSettingsCount(), applied + 1);
  EXPECT_EQ(line->LineSettings().baudRate, 57600);
  EXPECT_EQ(line->LineSettings().dataBits, dbSeven);
  EXPECT_EQ(line->LineSettings().stopBits, sbOne5StopBits);
  EXPECT_EQ(line->LineSettings().parity, prEven);
  EXPECT_EQ(port.FlowControl().ControlRTS(), rtsHandshake);
  EXPECT_TRUE(port.FlowControl().OutCTSFlow());
  EXPECT_EQ(port.UpdateCount(), 0);
}

// The flow-control shorthand touches RTS, CTS flow and XON/XOFF only: a custom mix survives OK
// untouched, and None clears those but leaves DSR flow and DTR.
TEST_F(SetupDialog, FlowControlChoicesLeaveWhatTheShorthandDoesNotCover) {
  TComPort port;
  TComFlowControl& flow = port.FlowControl();
  flow.SetOutCTSFlow(true);
  flow.SetXonXoffIn(true);
  flow.SetOutDSRFlow(true);
  flow.SetControlDTR(dtrHandshake);
  Run(port, QDialog::Accepted);
  EXPECT_EQ(shown[5], "Custom");
  EXPECT_TRUE(flow.OutCTSFlow() && flow.XonXoffIn());
  EXPECT_FALSE(flow.XonXoffOut());
  Run(port, QDialog::Accepted, [](TComSetupFrm& form) { form.Combo6->SetText("None"); });
  EXPECT_EQ(flow.ControlRTS(), rtsDisable);
  EXPECT_FALSE(flow.OutCTSFlow() || flow.XonXoffIn() || flow.XonXoffOut());
  EXPECT_TRUE(flow.OutDSRFlow());
  EXPECT_EQ(flow.ControlDTR(), dtrHandshake);
}

TEST_F(SetupDialog, CancelWritesNothing) {
  TComPort port;
  port.SetPort("/dev/ttySorvellTest");
  Run(port, QDialog::Rejected, [](TComSetupFrm& form) {
    form.Combo1->addItem("/dev/ttySorvellOther");
    form.Combo1->SetText("/dev/ttySorvellOther");
    form.Combo2->SetText("110");
    form.Combo6->SetText("Software");
  });
  EXPECT_EQ(port.Port(), "/dev/ttySorvellTest");
  EXPECT_EQ(port.BaudRate(), br9600);
  EXPECT_EQ(port.FlowControl().FlowControl(), fcNone);
}

// A new port name that cannot be opened: the failure reaches the caller, and neither the
// update count nor the dialog is left behind, so later settings still reach the device.
TEST_F(SetupDialog, AFailedApplyStillBalancesTheUpdateAndFreesTheDialog) {
  auto line = std::make_shared<MemoryLine>();
  TComPort port;
  port.UseDevice(std::make_unique<MemoryDevice>(line));
  port.SetPort("/dev/ttyMemory0");
  port.Open();
  QPointer<TComSetupFrm> dialog;
  TComSetupFrm::SetExecHook([&](TComSetupFrm& form) {
    dialog = &form;
    form.Combo1->addItem("/dev/ttyMemory1");
    form.Combo1->SetText("/dev/ttyMemory1");
    form.Combo2->SetText("38400");
    line->Fail(MemoryLine::Op::kOpen, ENOENT);
    return int(QDialog::Accepted);
  });
  try {
    ShowSetupDialog(port);
    FAIL() << "no exception";
  } catch (const EComPort& error) {
    EXPECT_EQ(error.ErrorCode(), 1);
  }
  EXPECT_EQ(port.UpdateCount(), 0);
  EXPECT_TRUE(dialog.isNull());
  EXPECT_FALSE(port.Connected());

  line->Fail(MemoryLine::Op::kOpen, 0);
  port.Open();
  EXPECT_EQ(line->OpenedName(), "/dev/ttyMemory1");
  port.SetBaudRate(br4800);
  EXPECT_EQ(line->LineSettings().baudRate, 4800);
}

TEST_F(SetupDialog, LabelsNameTheirBoxesAndTabFollowsTheRows) {
  TComSetupFrm form;
  const std::pair<QLabel*, TComComboBox*> rows[] = {
      {form.Label1, form.Combo1}, {form.Label2, form.Combo2}, {form.Label3, form.Combo3},
      {form.Label4, form.Combo4}, {form.Label5, form.Combo5}, {form.Label6, form.Combo6}};
  for (const auto& [label, combo] : rows) {
    EXPECT_TRUE(LabelledBy(combo, label));
    EXPECT_EQ(label->buddy(), combo);
    EXPECT_EQ(combo->parentWidget(), form.GroupBox1);
    EXPECT_FALSE(combo->AutoApply());
  }
  EXPECT_TRUE(form.Button1->isDefault());

  const QList<QWidget*> order = {form.Combo1, form.Combo2, form.Combo3,  form.Combo4,
                                 form.Combo5, form.Combo6, form.Button1, form.Button2};
  for (int i = 0; i + 1 < order.size(); ++i) EXPECT_EQ(NextTabStop(order[i]), order[i + 1]) << i;
}

// The real modal loop, operated from the keyboard as a user would: Tab to the baud rate, one
// step down, Enter for the default button.
TEST_F(SetupDialog, RunsModallyAndObeysTheKeyboard) {
  TComPort port;
  bool driven = false;
  QTimer::singleShot(0, [&] {
    auto* form = qobject_cast<TComSetupFrm*>(QApplication::activeModalWidget());
    if (!form) return;
    driven = true;
    QTest::keyClick(form->focusWidget(), Qt::Key_Tab);
    QTest::keyClick(form->focusWidget(), Qt::Key_Down);
    QTest::keyClick(form->focusWidget(), Qt::Key_Return);
  });
  // Should the dialog not be found above, this still ends the modal loop.
  QTimer rescue;
  rescue.setSingleShot(true);
  QObject::connect(&rescue, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  rescue.start(5000);
  ShowSetupDialog(port);
  ASSERT_TRUE(driven);
  EXPECT_EQ(port.BaudRate(), br14400);
}

// Ports that come and go while the dialog is open: a simulator publishing its first port (its
// folder comes with it), udev naming an adapter (the same, also after the folder went). The
// user's choice stays selected, even when its port goes again.
TEST_F(SetupDialog, ThePortListFollowsPortsThatComeAndGoWhileOpen) {
  QTemporaryDir runtime, serial, devices;
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  const QString published = PublishedPortsDir() + "/COM7";
  const QString byId = serial.filePath("by-id");
  const QString adapter = byId + "/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  const QString adapterName = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0 (ttyUSB0)";
  for (const char* device : {"ttyUSB0", "pts7"})
    ASSERT_TRUE(QFile(devices.filePath(device)).open(QIODevice::WriteOnly));

  TComPort port;
  port.SetPort("/dev/ttySorvellTest");
  Run(port, QDialog::Accepted, [&](TComSetupFrm& form) {
    TComComboBox& box = *form.Combo1;
    box.SetByIdDir(byId);
    const auto listed = [&](const QString& text) { return box.findText(text) >= 0; };
    const auto plugIn = [&] {
      ASSERT_TRUE(QDir().mkpath(byId));
      ASSERT_TRUE(QFile::link(devices.filePath("ttyUSB0"), adapter));
      EXPECT_TRUE(WaitFor([&] { return listed(adapterName); }));
    };
    ASSERT_TRUE(QDir().mkpath(PublishedPortsDir()));
    ASSERT_TRUE(QFile::link(devices.filePath("pts7"), published));
    EXPECT_TRUE(WaitFor([&] { return listed(published); }));
    plugIn();
    EXPECT_EQ(box.itemText(0), "/dev/ttySorvellTest");
    EXPECT_EQ(box.currentIndex(), 0);
    ASSERT_TRUE(QFile::remove(adapter));
    EXPECT_TRUE(WaitFor([&] { return !listed(adapterName); }));
    ASSERT_TRUE(QDir().rmdir(byId));
    plugIn();

    box.SetText(published);
    ASSERT_TRUE(QFile::remove(published));
    EXPECT_TRUE(WaitFor([&] { return box.itemText(0) == published; }));
    EXPECT_EQ(box.currentIndex(), 0);
    EXPECT_EQ(box.itemText(1), "/dev/ttySorvellTest");
  });
  saved.isNull() ? (void)qunsetenv("XDG_RUNTIME_DIR") : (void)qputenv("XDG_RUNTIME_DIR", saved);
  EXPECT_EQ(port.Port(), published);
}

}  // namespace
