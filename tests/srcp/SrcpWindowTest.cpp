// The server address field of the real main window against the SRCP server simulator.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <memory>

#include "SrcpServer.h"
#include "WD10/TFrm_WD10.h"
#include "platform/TMemo.h"
#include "support/RecordingNotifier.h"
#include "support/WaitFor.h"

namespace {

// Another address connects there, whichever server station is chosen; the same address again
// makes no new connection, and an invalid one is refused without one.
TEST(SrcpWindow, EnteringAnotherAddressConnectsThereAndAnInvalidOneNowhere) {
  SrcpServer first(SrcpServer::kDdw08Greeting, 0);
  SrcpServer layout(SrcpServer::kSrcpdGreeting, 0);
  TFrm_WD10 window;
  window.show();
  window.SrcpServerEdit->setText(QStringLiteral("127.0.0.1:%1").arg(first.Port()));
  window.RadioButton19->setChecked(true);
  ASSERT_TRUE(WaitFor([&] { return first.ConnectionCount() == 1; }));

  window.SrcpServerEdit->setText(QStringLiteral(" 127.0.0.1:%1 ").arg(layout.Port()));
  emit window.SrcpServerEdit->editingFinished();
  EXPECT_TRUE(WaitFor([&] { return window.Memo3->Text().contains("srcpd V2.1.3"); }));
  emit window.SrcpServerEdit->editingFinished();
  EXPECT_EQ(layout.ConnectionCount(), 1);

  Notifications().Reset();
  window.SrcpServerEdit->setText(QStringLiteral("127.0.0.1:99999"));
  emit window.SrcpServerEdit->editingFinished();
  ASSERT_EQ(Notifications().messages.size(), 1);
  EXPECT_TRUE(Notifications().messages.first().contains("geen geldig adres"));
  EXPECT_EQ(first.ConnectionCount() + layout.ConnectionCount(), 2);
}

}  // namespace
