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
      {about.spuValue, "SPU", F::SPU}, {about.kpuValue, "KPU", F::KPU},
      {about.ppuValue, "PPU", F::PPU}, {about.lipuValue, "LIPU", F::LIPU},
      {about.dncValue, "DNC", F::DNC}, {about.serialValue, "Serial", F::Serial}};
  for (const auto& [row, caption, field] : rows) {
    EXPECT_EQ(row->accessibleName(), QString(caption) + " ?");
    about.ShowValue(field, caption);
  }
  for (const auto& [row, caption, field] : rows)
    EXPECT_EQ(row->accessibleName(), QString(caption) + ' ' + caption);
  EXPECT_EQ(about.programIcon->pixmap().size(), QSize(128, 96));
  EXPECT_FALSE(about.isModal());
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, key);
    EXPECT_FALSE(about.isVisible()) << key;
  }
  about.show();
  EXPECT_EQ(about.spuValue->text(), "SPU");
}

}  // namespace
