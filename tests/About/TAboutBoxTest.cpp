// The About IB/TC window: its values from the version reply, and showing and hiding it.
#include "About/TAboutBox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "P50XTestLink.h"

namespace {

QStringList Values(const TAboutBox& about) {
  return {about.SPU->text(),  about.KPU->text(), about.PPU->text(),
          about.LIPU->text(), about.DNC->text(), about.Serial->text()};
}

const QStringList kUnknown(6, QStringLiteral("?"));

// The version query answered over an in-memory line; returns the bytes left unread.
int AnswerVersionQuery(P50XTestLink& link, const char* replyHex) {
  auto line = link.OpenOnMemoryLine();
  line->Receive(QByteArray::fromHex(replyHex));
  SendP50X(QByteArray::fromHex("A0"));
  EXPECT_EQ(line->TakeWritten(), QByteArray::fromHex("78 A0"));
  return line->InputCount();
}

TEST(TAboutBox, StartsWithUnknownValuesNamedForAssistiveTechnology) {
  TAboutBox about;
  EXPECT_EQ(Values(about), kUnknown);
  EXPECT_EQ(about.windowTitle(), "Zonnedal");
  const QStringList names = {about.SPU->accessibleName(), about.KPU->accessibleName(),
                             about.PPU->accessibleName(), about.LIPU->accessibleName(),
                             about.DNC->accessibleName(), about.Serial->accessibleName()};
  EXPECT_EQ(names, (QStringList{"SPU", "KPU", "PPU", "LIPU", "DNC", "Serial"}));
  EXPECT_FALSE(about.ProgramIcon->accessibleName().isEmpty());
  ASSERT_FALSE(about.ProgramIcon->pixmap().isNull());
  EXPECT_EQ(about.ProgramIcon->pixmap().size(), QSize(128, 96));
}

TEST(TAboutBox, VersionReplyFillsTheValues) {
  P50XTestLink link;
  const int left = AnswerVersionQuery(
      link, "02 02 15  02 00 01  01 12  01 34  01 56  05 00 01 02 03 04  00  77");

  EXPECT_EQ(Values(link.about), (QStringList{"1.502", "0.100", "1.2", "3.4", "5.6", "0001020304"}));
  EXPECT_EQ(left, 1);  // the closing byte is read, nothing after it
}

TEST(TAboutBox, BlockOfAnotherLengthIsSkippedAndTheNextOneStillRead) {
  P50XTestLink link;
  const int left =
      AnswerVersionQuery(link, "03 01 02 03  02 0A 20  00  01 12  01 34  05 00 01 02 03 04  00");

  EXPECT_EQ(Values(link.about), (QStringList{"?", "2.00A", "?", "1.2", "3.4", "0001020304"}));
  EXPECT_EQ(left, 0);
}

TEST(TAboutBox, OkHidesTheWindowAndItShowsAgainWithTheSameValues) {
  TAboutBox about;
  about.SPU->setText(QStringLiteral("1.502"));
  about.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  EXPECT_TRUE(about.OKButton->isDefault());
  EXPECT_FALSE(about.isModal());

  QTest::mouseClick(about.OKButton, Qt::LeftButton);
  EXPECT_FALSE(about.isVisible());

  about.show();
  EXPECT_TRUE(about.isVisible());
  EXPECT_EQ(about.SPU->text(), "1.502");

  // From the keyboard: the default button answers Enter, and Escape closes too.
  QTest::keyClick(&about, Qt::Key_Return);
  EXPECT_FALSE(about.isVisible());
  about.show();
  QTest::keyClick(&about, Qt::Key_Escape);
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
