// The About IB/TC window: its values as the link reports them, and showing and hiding it.
#include "About/TAboutBox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

QStringList Values(const TAboutBox& about) {
  return {about.SPU->text(),  about.KPU->text(), about.PPU->text(),
          about.LIPU->text(), about.DNC->text(), about.Serial->text()};
}

const QStringList kUnknown(6, QStringLiteral("?"));

TEST(TAboutBox, StartsWithUnknownValuesNamedForAssistiveTechnology) {
  TAboutBox about;
  EXPECT_EQ(Values(about), kUnknown);
  EXPECT_EQ(about.windowTitle(), "Zonnedal");
  const QStringList names = {about.SPU->accessibleName(), about.KPU->accessibleName(),
                             about.PPU->accessibleName(), about.LIPU->accessibleName(),
                             about.DNC->accessibleName(), about.Serial->accessibleName()};
  EXPECT_EQ(names, (QStringList{"SPU ?", "KPU ?", "PPU ?", "LIPU ?", "DNC ?", "Serial ?"}));
  EXPECT_FALSE(about.ProgramIcon->accessibleName().isEmpty());
  ASSERT_FALSE(about.ProgramIcon->pixmap().isNull());
  EXPECT_EQ(about.ProgramIcon->pixmap().size(), QSize(128, 96));
}

TEST(TAboutBox, EachVersionValueGoesToItsOwnRowAndIsHeardWithItsCaption) {
  TAboutBox about;
  const StationVersionField fields[] = {StationVersionField::SPU, StationVersionField::KPU,
                                        StationVersionField::PPU, StationVersionField::LIPU,
                                        StationVersionField::DNC, StationVersionField::Serial};
  const QStringList shown = {"1.502", "0.100", "1.2", "3.4", "5.6", "0001020304"};
  for (int i = 0; i < shown.size(); ++i) about.ShowValue(fields[i], shown[i]);

  EXPECT_EQ(Values(about), shown);
  EXPECT_EQ(about.Serial->accessibleName(), "Serial 0001020304");
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
