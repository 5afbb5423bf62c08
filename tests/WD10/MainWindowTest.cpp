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

namespace {

class MainWindow : public testing::Test {
 protected:
  MainWindow() {
    window.show();
    // Focus moves, and so the field's leaving, need an active window.
    QApplication::setActiveWindow(&window);
  }
  // The first address and what follows from it: the decoder number and group B's address.
  void ExpectAddress(const QString& first, int decoder, int groupB) {
    EXPECT_EQ(window.SpinEdit1->Text(), first);
    EXPECT_EQ(window.Label1->text(), QString("Decoderadres: %1").arg(decoder));
    EXPECT_EQ(window.SpinEdit2->Text(), QString::number(groupB));
  }
  TFrm_WD10 window;
};

TEST_F(MainWindow, StartsWithTheSelectionAndTheFirstModes) {
  ExpectAddress("1", 1, 5);
  EXPECT_TRUE(window.GroupBox1->isVisible());
  EXPECT_FALSE(window.GroupBox2->isVisible() || window.GroupBox5->isVisible());
  EXPECT_EQ(std::pair(window.ModeOfGroupA(), window.ModeOfGroupB()), std::pair(2, 2));
  window.RadioButton[5]->setChecked(true);
  window.RadioButton[14]->setChecked(true);
  EXPECT_EQ(std::pair(window.ModeOfGroupA(), window.ModeOfGroupB()), std::pair(6, 8));
  EXPECT_EQ(window.RadioButton[14]->text(), "NS-Sein met 4 begrippen");
  // The instructions once lost the blanks at line ends and the empty line.
  const QStringList lines = window.Memo2->toPlainText().split('\n');
  ASSERT_EQ(lines.size(), 8);
  EXPECT_TRUE(lines[0].endsWith("programmeer ") && lines[3].isEmpty());
  EXPECT_TRUE(lines[6].contains("het  'Programmeer Sorvell' knopje. Als de gegevens verzonden "));
  // The window opens with the focus in the instructions; Tab once typed a tab into them.
  window.Memo2->setFocus();
  QTest::keyClick(window.Memo2, Qt::Key_Tab);
  EXPECT_FALSE(window.Memo2->hasFocus());
  EXPECT_FALSE(window.Memo2->toPlainText().contains('\t'));
}

// The window starts as after choosing LocoNet; then each central type is chosen in turn from the
// keyboard. What only the Lenz choice sets (CTS flow, the events) and only the Märklin choice
// sets (the lower address limit) stays for any later choice, as it always has.
TEST_F(MainWindow, EachCentralChoiceSetsCaptionsAndLine) {
  const std::tuple<QRadioButton*, TBaudRate, TStopBits, int> steps[] = {
      {window.RadioButton15, br19200, sbOneStopBit, 2040},
      {window.RadioButton16, br19200, sbTwoStopBits, 2040},
      {window.RadioButton17, br9600, sbOneStopBit, 2040},
      {window.RadioButton15, br19200, sbOneStopBit, 2040},
      {window.RadioButton18, br2400, sbTwoStopBits, 248},
      {window.RadioButton15, br19200, sbOneStopBit, 248}};
  for (const auto& [choice, baud, stopBits, maxAddress] : steps) {
    choice->setFocus();
    QTest::keyClick(choice, Qt::Key_Space);
    SCOPED_TRACE(choice->text().toStdString());
    EXPECT_EQ(window.ComPort1->BaudRate(), baud);
    EXPECT_EQ(window.ComPort1->StopBits(), stopBits);
    // Only the P50X choice offers the button, and inside the programming panel, not past its edge.
    EXPECT_EQ(window.Button4->isVisibleTo(window.GroupBox2), choice == window.RadioButton16);
    EXPECT_LE(window.Button4->geometry().right(), window.GroupBox2->width());
    EXPECT_EQ(window.SpinEdit1->MaxValue(), maxAddress);
  }
  EXPECT_EQ(window.ComPort1->Events(), (TComEvents{evRxChar, evCTS}));
  EXPECT_TRUE(window.ComPort1->FlowControl().OutCTSFlow());
}

// The buttons step by eight and clamp; a typed value stands until the field loses focus.
TEST_F(MainWindow, AddressFieldStepsTypesAndClamps) {
  window.GroupBox2->show();
  const std::tuple<int, int, const char*, int, int> steps[] = {
      {1, 1, "9", 3, 13}, {2033, 1, "2040", 511, 2044}, {5, -1, "1", 1, 5}};
  for (const auto& [from, by, first, decoder, groupB] : steps) {
    window.SpinEdit1->SetValue(from);
    window.SpinEdit1->stepBy(by);
    ExpectAddress(first, decoder, groupB);
  }
  QLineEdit* edit = window.SpinEdit1->findChild<QLineEdit*>();
  const auto type = [&](const char* text) {
    window.SpinEdit1->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  };
  type("3");
  ExpectAddress("3", 2, 7);
  // A lone "-" is no number and would become 1 at once; the sign goes in front afterwards.
  QTest::keyClick(edit, Qt::Key_Home);
  QTest::keyClicks(edit, "-");
  ExpectAddress("-3", 1, 1);
  type("99999");  // at most four characters
  EXPECT_EQ(window.SpinEdit1->Text(), "9999");
  window.Button2->setFocus();
  ExpectAddress("2040", 511, 2044);
  type("0");
  window.Button2->setFocus();
  EXPECT_EQ(window.SpinEdit1->Text(), "1");
}

// An inner wait started from a timer inside the outer one once cut the outer wait short. Only
// ordering is checked, never durations.
TEST_F(MainWindow, NestedWaitDoesNotCutTheOuterShort) {
  QElapsedTimer clock;
  qint64 innerEnded = -1;
  QTimer::singleShot(20, &window, [&] {
    window.WaitMs(10);
    innerEnded = clock.elapsed();
  });
  clock.start();
  window.WaitMs(150);
  EXPECT_GE(clock.elapsed(), 150);
  EXPECT_TRUE(innerEnded >= 0 && innerEnded < clock.elapsed());
}

}  // namespace
