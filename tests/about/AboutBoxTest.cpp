// The About IB/TC window: its values as the link reports them, and hiding it from the keyboard.
// Showing it with the station's values and the OK button are the P50X end-to-end run's.
#include "about/AboutBox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

namespace {

TEST(AboutBox, EachValueGoesToItsOwnRowIsHeardWithItsCaptionAndKeysHideIt) {
  AboutBox about;
  using F = StationVersionField;
  const std::tuple<QLabel*, const char*, F> rows[] = {
      {about.SPU, "SPU", F::SPU}, {about.KPU, "KPU", F::KPU},
      {about.PPU, "PPU", F::PPU}, {about.LIPU, "LIPU", F::LIPU},
      {about.DNC, "DNC", F::DNC}, {about.Serial, "Serial", F::Serial}};
  for (const auto& [row, caption, field] : rows) {
    EXPECT_EQ(row->accessibleName(), QString(caption) + " ?");
    about.ShowValue(field, caption);
  }
  for (const auto& [row, caption, field] : rows)
    EXPECT_EQ(row->accessibleName(), QString(caption) + ' ' + caption);
  EXPECT_EQ(about.ProgramIcon->pixmap().size(), QSize(128, 96));
  EXPECT_FALSE(about.isModal());
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, key);
    EXPECT_FALSE(about.isVisible()) << key;
  }
  about.show();
  EXPECT_EQ(about.SPU->text(), "SPU");
}

}  // namespace
