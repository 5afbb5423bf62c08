#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "CPort/TComPort.h"
#include "WD10/TFrm_WD10.h"
#include "WD10/TSpinEdit.h"
#include "platform/TMemo.h"

namespace {

class MainWindow : public testing::Test {
 protected:
  MainWindow() {
    window.show();
    // Focus moves, and so the field's leaving, need an active window.
    QApplication::setActiveWindow(&window);
  }
  TFrm_WD10 window;
};

TEST_F(MainWindow, StartsAsAfterChoosingLocoNet) {
  EXPECT_EQ(window.windowTitle(), "Configuratie Kuehn WD10 via Programmeertoets.");
  EXPECT_TRUE(window.RadioButton15->isChecked());
  EXPECT_FALSE(window.Button4->isVisible());
  EXPECT_EQ(window.ComPort1->BaudRate(), br19200);
  EXPECT_EQ(window.ComPort1->StopBits(), sbOneStopBit);
  EXPECT_TRUE(window.Memo1->Text().isEmpty());
  EXPECT_TRUE(window.Memo3->Text().isEmpty());
  EXPECT_TRUE(window.memo4->Text().isEmpty());
  EXPECT_EQ(window.Label1->text(), "Decoderadres: 1");
  EXPECT_EQ(window.SpinEdit2->Text(), "5");
  EXPECT_EQ(window.Button1->text(), "Kies Compoort");
  EXPECT_TRUE(window.GroupBox1->isVisible());
  EXPECT_FALSE(window.GroupBox2->isVisible());
  EXPECT_FALSE(window.GroupBox5->isVisible());
  EXPECT_TRUE(window.RadioButton[1]->isChecked());
  EXPECT_TRUE(window.RadioButton[8]->isChecked());
  EXPECT_EQ(window.RadioButton[7]->text(), "NS-Sein met 4 begrippen");
  EXPECT_EQ(window.RadioButton[14]->text(), "NS-Sein met 4 begrippen");
  EXPECT_GE(window.RadioButton[1]->width(), 200);
  EXPECT_GE(window.RadioButton[1]->width(), window.RadioButton[1]->sizeHint().width());
}

TEST_F(MainWindow, InstructionTextKeepsItsBlanks) {
  const QStringList lines = window.Memo2->toPlainText().split('\n');
  ASSERT_EQ(lines.size(), 8);
  EXPECT_TRUE(lines[0].endsWith("programmeer "));
  EXPECT_TRUE(lines[3].isEmpty());
  EXPECT_TRUE(lines[6].contains("het  'Programmeer Sorvell' knopje. Als de gegevens verzonden "));
}

TEST_F(MainWindow, SelectionHandlersSetCaptionsAndLineSettings) {
  window.RadioButton16->setChecked(true);
  EXPECT_TRUE(window.Button4->isVisibleTo(window.GroupBox2));
  EXPECT_EQ(window.Button4->text(), "Over IB/TC");
  EXPECT_EQ(window.ComPort1->StopBits(), sbTwoStopBits);
  // Shown, the button lies inside the programming panel, not beyond its edge.
  EXPECT_LE(window.Button4->geometry().right(), window.GroupBox2->width());

  window.RadioButton17->setChecked(true);
  EXPECT_FALSE(window.Button4->isVisibleTo(window.GroupBox2));
  EXPECT_EQ(window.windowTitle(),
            "Configuratie Kuehn WD10 via Programmeertoets. OffSet = 4 Lenz/Roco");
  EXPECT_EQ(window.ComPort1->BaudRate(), br9600);
  EXPECT_EQ(window.ComPort1->Events(), (TComEvents{evRxChar, evCTS}));

  // What only the Lenz choice sets stays for any later choice.
  window.RadioButton15->setChecked(true);
  EXPECT_EQ(window.ComPort1->BaudRate(), br19200);
  EXPECT_EQ(window.ComPort1->StopBits(), sbOneStopBit);
  EXPECT_TRUE(window.ComPort1->FlowControl().OutCTSFlow());
  EXPECT_EQ(window.ComPort1->Events(), (TComEvents{evRxChar, evCTS}));

  window.RadioButton18->setChecked(true);
  EXPECT_EQ(window.ComPort1->BaudRate(), br2400);
  EXPECT_EQ(window.ComPort1->StopBits(), sbTwoStopBits);
  EXPECT_EQ(window.SpinEdit1->MaxValue(), 248);
  window.RadioButton16->setChecked(true);
  EXPECT_EQ(window.SpinEdit1->MaxValue(), 248);
}

TEST_F(MainWindow, KeyboardChoiceRunsTheHandler) {
  window.RadioButton16->setFocus();
  QTest::keyClick(window.RadioButton16, Qt::Key_Space);
  EXPECT_TRUE(window.RadioButton16->isChecked());
  EXPECT_TRUE(window.Button4->isVisibleTo(window.GroupBox2));
}

TEST_F(MainWindow, SpinButtonsStepByEightWithinTheLimits) {
  window.GroupBox2->show();
  window.SpinEdit1->stepBy(1);
  EXPECT_EQ(window.SpinEdit1->Text(), "9");
  EXPECT_EQ(window.Label1->text(), "Decoderadres: 3");
  EXPECT_EQ(window.SpinEdit2->Text(), "13");

  window.SpinEdit1->SetValue(2033);
  window.SpinEdit1->stepBy(1);
  EXPECT_EQ(window.SpinEdit1->Text(), "2040");
  EXPECT_EQ(window.Label1->text(), "Decoderadres: 511");
  EXPECT_EQ(window.SpinEdit2->Text(), "2044");

  window.SpinEdit1->SetValue(5);
  window.SpinEdit1->stepBy(-1);
  EXPECT_EQ(window.SpinEdit1->Text(), "1");

  window.RadioButton18->setChecked(true);
  window.SpinEdit1->SetValue(241);
  window.SpinEdit1->stepBy(1);
  EXPECT_EQ(window.SpinEdit1->Text(), "248");
  EXPECT_EQ(window.Label1->text(), "Decoderadres: 63");
  EXPECT_EQ(window.SpinEdit2->Text(), "252");
}

TEST_F(MainWindow, TypedValuesStandUntilTheFieldLosesFocus) {
  window.GroupBox2->show();
  window.SpinEdit1->setFocus();
  QLineEdit* edit = window.SpinEdit1->findChild<QLineEdit*>();
  ASSERT_NE(edit, nullptr);

  edit->selectAll();
  QTest::keyClicks(edit, "3");
  EXPECT_EQ(window.Label1->text(), "Decoderadres: 2");
  EXPECT_EQ(window.SpinEdit2->Text(), "7");

  // A lone "-" is no number and would become 1 at once; the sign goes in front afterwards.
  edit->selectAll();
  QTest::keyClicks(edit, "3");
  QTest::keyClick(edit, Qt::Key_Home);
  QTest::keyClicks(edit, "-");
  EXPECT_EQ(window.SpinEdit1->Text(), "-3");
  EXPECT_EQ(window.Label1->text(), "Decoderadres: 1");
  EXPECT_EQ(window.SpinEdit2->Text(), "1");

  edit->selectAll();
  QTest::keyClicks(edit, "99999");  // at most four characters
  EXPECT_EQ(window.SpinEdit1->Text(), "9999");
  window.Button2->setFocus();
  EXPECT_EQ(window.SpinEdit1->Text(), "2040");
  EXPECT_EQ(window.SpinEdit2->Text(), "2044");

  window.SpinEdit1->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "0");
  window.Button2->setFocus();
  EXPECT_EQ(window.SpinEdit1->Text(), "1");
}

TEST_F(MainWindow, InvalidTextBecomesOne) {
  window.SpinEdit1->SetText("17");
  for (const char* text : {"", "-", "ab"}) {
    window.SpinEdit1->SetText(text);
    EXPECT_EQ(window.SpinEdit1->Text(), "1") << text;
    EXPECT_EQ(window.Label1->text(), "Decoderadres: 1");
    EXPECT_EQ(window.SpinEdit2->Text(), "5");
    window.SpinEdit1->SetText("17");
  }
}

TEST_F(MainWindow, ModeLookupFollowsTheCheckedButtons) {
  EXPECT_EQ(window.ModeOfGroupA(), 2);
  EXPECT_EQ(window.ModeOfGroupB(), 2);
  window.RadioButton[5]->setChecked(true);
  window.RadioButton[14]->setChecked(true);
  EXPECT_EQ(window.ModeOfGroupA(), 6);
  EXPECT_EQ(window.ModeOfGroupB(), 8);
}

TEST_F(MainWindow, NestedWaitDoesNotCutTheOuterShort) {
  // An inner wait started from a timer inside the outer one: the outer still lasts its own
  // interval. Only ordering is checked, never durations.
  QElapsedTimer clock;
  qint64 innerEnded = -1;
  QTimer::singleShot(20, &window, [&] {
    window.WaitMs(10);
    innerEnded = clock.elapsed();
  });
  clock.start();
  window.WaitMs(150);
  const qint64 outerEnded = clock.elapsed();
  ASSERT_GE(innerEnded, 0);
  EXPECT_GE(outerEnded, 150);
  EXPECT_LT(innerEnded, outerEnded);
}

}  // namespace
