#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "support/TestedWindow.h"

namespace {

class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest() {
    window.show();
    // Focus moves, and so the field's leaving, need an active window.
    QApplication::setActiveWindow(&window);
  }
  // The first address and what follows from it: the decoder number and group B's address.
  void ExpectAddress(const QString& first, int decoder, int groupB) {
    EXPECT_EQ(window.firstAddressEdit->Text(), first);
    EXPECT_EQ(window.decoderNumberLabel->text(), QString("Decoderadres: %1").arg(decoder));
    EXPECT_EQ(window.groupBAddressEdit->Text(), QString::number(groupB));
  }
  TestedWindow window;
};

TEST_F(MainWindowTest, StartsWithTheSelectionAndTheFirstModes) {
  ExpectAddress("1", 1, 5);
  EXPECT_TRUE(window.selectionPanel->isVisible());
  EXPECT_FALSE(window.programmingPanel->isVisible() || window.signalsPanel->isVisible());
  EXPECT_EQ(std::pair(window.ModeOfGroupA(), window.ModeOfGroupB()), std::pair(2, 2));
  window.groupAModes[4]->setChecked(true);
  window.groupBModes[6]->setChecked(true);
  EXPECT_EQ(std::pair(window.ModeOfGroupA(), window.ModeOfGroupB()), std::pair(6, 8));
  EXPECT_EQ(window.groupBModes[6]->text(), "NS-Sein met 4 begrippen");
  // The instructions once lost the blanks at line ends and the empty line.
  const QStringList lines = window.instructionsText->toPlainText().split('\n');
  ASSERT_EQ(lines.size(), 8);
  EXPECT_TRUE(lines[0].endsWith("programmeer ") && lines[3].isEmpty());
  EXPECT_TRUE(lines[6].contains("het  'Programmeer Sorvell' knopje. Als de gegevens verzonden "));
  // The window opens with the focus in the instructions; Tab once typed a tab into them.
  window.instructionsText->setFocus();
  QTest::keyClick(window.instructionsText, Qt::Key_Tab);
  EXPECT_FALSE(window.instructionsText->hasFocus());
  EXPECT_FALSE(window.instructionsText->toPlainText().contains('\t'));
}

// The window starts as after choosing LocoNet; then each central type is chosen in turn from the
// keyboard. What only the Lenz choice sets (CTS flow, the events) stays for any later choice, as
// it always has; the Märklin limit goes with the choice, so that LocoNet chosen after it reaches
// 2040 again. A server leaves the line and the window caption of the choice before it.
// "Volgende decoder" steps eight addresses on up to the last first address the station can reach
// (a Lenz interface reaches fewer turnouts than the field allows), and there stays.
TEST_F(MainWindowTest, EachCentralChoiceSetsCaptionsAndLine) {
  const char* const offered[] = {"IB/TC /LocoNet", "IB/TC ", "Lenz/Multi-Maus",
                                 "Märklin (6050/6051)", "SRCP 0.8"};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(window.CentralButton(CentralType(i))->text(), QString::fromUtf8(offered[i]));
  const QString plain = "Configuratie Kuehn WD10 via Programmeertoets.";
  const QString lenz = plain + " OffSet = 4 Lenz/Roco";
  const std::tuple<CentralType, BaudRateSetting, StopBitsSetting, int, int, QString, QString>
      steps[] = {{CentralType::LocoNet, br19200, sbOneStopBit, 2040, 2040, plain, "Kies Compoort"},
                 {CentralType::P50X, br19200, sbTwoStopBits, 2040, 2040, plain, "Kies Compoort"},
                 {CentralType::Lenz, br9600, sbOneStopBit, 2040, 1016, lenz, "Kies Compoort"},
                 {CentralType::Srcp, br9600, sbOneStopBit, 2040, 2040, lenz, "Verbinden"},
                 {CentralType::LocoNet, br19200, sbOneStopBit, 2040, 2040, plain, "Kies Compoort"},
                 {CentralType::Maerklin, br2400, sbTwoStopBits, 248, 248, plain, "Kies Compoort"},
                 {CentralType::LocoNet, br19200, sbOneStopBit, 2040, 2040, plain, "Kies Compoort"}};
  for (const auto& [central, baud, stopBits, maxAddress, lastDecoder, title, connect] : steps) {
    QRadioButton* choice = window.CentralButton(central);
    choice->setFocus();
    QTest::keyClick(choice, Qt::Key_Space);
    SCOPED_TRACE(choice->text().toStdString());
    EXPECT_EQ(window.serialPort->BaudRate(), baud);
    EXPECT_EQ(window.serialPort->StopBits(), stopBits);
    // Only the P50X choice offers the button, and inside the programming panel, not past its edge.
    EXPECT_EQ(window.stationAboutButton->isVisibleTo(window.programmingPanel),
              central == CentralType::P50X);
    EXPECT_LE(window.stationAboutButton->geometry().right(), window.programmingPanel->width());
    EXPECT_EQ(window.firstAddressEdit->MaxValue(), maxAddress);
    EXPECT_EQ(window.windowTitle(), title);
    EXPECT_EQ(window.connectButton->text(), connect);
    window.firstAddressEdit->SetValue(lastDecoder - 8);
    for (int press = 0; press < 2; ++press) {
      window.nextDecoderButton->click();
      EXPECT_EQ(window.firstAddressEdit->Text(), QString::number(lastDecoder));
    }
  }
  EXPECT_EQ(window.stationAboutButton->text(), "Over IB/TC");
  EXPECT_EQ(window.serialPort->Events(), (SerialEvents{evRxChar, evCTS}));
  EXPECT_TRUE(window.serialPort->FlowControl().OutCTSFlow());
}

// The buttons step by eight and clamp; a typed value stands until the field loses focus.
TEST_F(MainWindowTest, AddressFieldStepsTypesAndClamps) {
  window.programmingPanel->show();
  const std::tuple<int, int, const char*, int, int> steps[] = {
      {1, 1, "9", 3, 13}, {2033, 1, "2040", 511, 2044}, {5, -1, "1", 1, 5}};
  for (const auto& [from, by, first, decoder, groupB] : steps) {
    window.firstAddressEdit->SetValue(from);
    window.firstAddressEdit->stepBy(by);
    ExpectAddress(first, decoder, groupB);
  }
  QLineEdit* edit = window.firstAddressEdit->findChild<QLineEdit*>();
  const auto type = [&](const char* text) {
    window.firstAddressEdit->setFocus();
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
  EXPECT_EQ(window.firstAddressEdit->Text(), "9999");
  window.programButton->setFocus();
  ExpectAddress("2040", 511, 2044);
  type("0");
  window.programButton->setFocus();
  EXPECT_EQ(window.firstAddressEdit->Text(), "1");
}

}  // namespace
