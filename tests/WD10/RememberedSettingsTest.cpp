// What the window remembers between starts, in the configuration the test main gives each test:
// written when the window closes, applied at the next start; a damaged, unreadable or
// unwritable file never stops a start or a close.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>

#include "CPort/TComPort.h"
#include "WD10/RememberedSettings.h"
#include "WD10/TFrm_WD10.h"
#include "support/WaitFor.h"

namespace {

// The lines the program printed about its settings; Qt may print warnings of its own.
int Complaints(const std::string& stderrText) {
  return int(QString::fromStdString(stderrText).count("sorvell: "));
}

// A start of the window, with what the start printed on stderr.
struct Start {
  Start() {
    testing::internal::CaptureStderr();
    window.show();
    // A remembered central type is chosen once the window is on the screen.
    WaitFor([] { return false; }, 50);
    complaints = Complaints(testing::internal::GetCapturedStderr());
  }
  bool HasTheDefaults() const {
    return window.RadioButton15->isChecked() && window.ComPort1->BaudRate() == br19200 &&
           window.ComPort1->Port() == "COM1" && window.SrcpServerEdit->text() == "127.0.0.1:4303";
  }
  // What the close printed on stderr.
  std::string Close() {
    testing::internal::CaptureStderr();
    window.close();
    EXPECT_TRUE(WaitFor([&] { return !window.isVisible(); }));
    return testing::internal::GetCapturedStderr();
  }
  TFrm_WD10 window;
  int complaints;
};

TEST(RememberedSettings, SecondStartHasWhatTheFirstEndedWith) {
  {
    Start first;
    ASSERT_TRUE(first.HasTheDefaults());
    EXPECT_EQ(first.complaints, 0);
    first.window.RadioButton17->setChecked(true);
    first.window.ComPort1->SetPort("/dev/serial/by-id/usb-Lenz-adapter");
    first.window.ComPort1->SetBaudRate(br19200);
    first.window.ComPort1->Parity().SetBits(prEven);
    first.window.SrcpServerEdit->setText("layout-pi:4304");
    first.window.move(40, 60);
    EXPECT_EQ(Complaints(first.Close()), 0);
  }
  Start second;
  TFrm_WD10& window = second.window;
  EXPECT_EQ(second.complaints, 0);
  EXPECT_TRUE(window.RadioButton17->isChecked());
  EXPECT_EQ(window.ComPort1->Port(), "/dev/serial/by-id/usb-Lenz-adapter");
  EXPECT_EQ(window.ComPort1->BaudRate(), br19200);
  EXPECT_EQ(window.ComPort1->Parity().Bits(), prEven);
  EXPECT_EQ(window.SrcpServerEdit->text(), "layout-pi:4304");
  EXPECT_EQ(window.pos(), QPoint(40, 60));
  // The line settings are the Lenz interface's: another central type gets its own.
  window.RadioButton18->setChecked(true);
  EXPECT_EQ(window.ComPort1->BaudRate(), br2400);
}

TEST(RememberedSettings, FileThatCannotBeUsedMeansTheDefaultsAndOneLine) {
  const QString file = RememberedSettings::FileName();
  const QString folder = QFileInfo(file).path();
  const struct {
    const char* what;
    QString at;
    QByteArray content;  // none: a folder
  } cases[] = {
      {"binary junk", file, QByteArray("\0\xff[\x01=\n\xfe\x80", 8).repeated(500)},
      {"values that are not ours", file, "central=steam\n[lenz]\nbaudrate=fast\nparity=\xff\n"},
      {"a folder where the file belongs", file, {}},
      // No user, root included, can write in a folder that is a file; the close says so, once.
      {"a file where the folder belongs", folder, ""},
  };
  for (const auto& spoilt : cases) {
    SCOPED_TRACE(spoilt.what);
    QDir(folder).removeRecursively();
    QDir().mkpath(spoilt.content.isNull() ? spoilt.at : QFileInfo(spoilt.at).path());
    QFile out(spoilt.at);
    ASSERT_TRUE(spoilt.content.isNull() ||
                (out.open(QIODevice::WriteOnly) && out.write(spoilt.content) >= 0));
    out.close();
    Start start;
    EXPECT_TRUE(start.HasTheDefaults());
    EXPECT_LE(start.complaints, 1);
    const std::string complaint = start.Close();
    if (spoilt.at == folder) {
      EXPECT_TRUE(Complaints(complaint) == 1 && complaint.find("cannot write") != std::string::npos)
          << complaint;
    }
  }
}

}  // namespace
