// The About IB/TC window: its values as the link reports them, and hiding it from the keyboard.
// Showing it with the station's values and the OK button are the P50X end-to-end run's.
#include "About/TAboutBox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

TEST(TAboutBox, EachValueGoesToItsOwnRowAndIsHeardWithItsCaption) {
  TAboutBox about;
  const QList<QLabel*> rows = {about.SPU,  about.KPU, about.PPU,
                               about.LIPU, about.DNC, about.Serial};
  const QStringList captions = {"SPU", "KPU", "PPU", "LIPU", "DNC", "Serial"};
  const StationVersionField fields[] = {StationVersionField::SPU, StationVersionField::KPU,
                                        StationVersionField::PPU, StationVersionField::LIPU,
                                        StationVersionField::DNC, StationVersionField::Serial};
  for (int i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i]->text(), "?");
    EXPECT_EQ(rows[i]->accessibleName(), captions[i] + " ?");
    about.ShowValue(fields[i], QString::number(i));
  }
  for (int i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i]->text(), QString::number(i));
    EXPECT_EQ(rows[i]->accessibleName(), captions[i] + ' ' + QString::number(i));
  }
  EXPECT_FALSE(about.ProgramIcon->accessibleName().isEmpty());
  EXPECT_EQ(about.ProgramIcon->pixmap().size(), QSize(128, 96));
}

TEST(TAboutBox, EnterAndEscapeHideTheWindowWhichShowsAgainAsItWas) {
  TAboutBox about;
  about.SPU->setText("1.502");
  EXPECT_FALSE(about.isModal());
  EXPECT_TRUE(about.OKButton->isDefault());
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, key);
    EXPECT_FALSE(about.isVisible()) << key;
  }
  about.show();
  EXPECT_EQ(about.SPU->text(), "1.502");
}

}  // namespace
