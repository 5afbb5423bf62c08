// What the window remembers between starts, in the configuration the test main gives each test:
// written when the window closes, applied at the next start; a damaged, unreadable or
// unwritable file never stops a start or a close.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>

#include "CPort/TComPort.h"
#include "WD10/RememberedSettings.h"
#include "WD10/TFrm_WD10.h"
#include "support/WaitFor.h"

namespace {

QString ConfigFile() {
  return RememberedSettings::FileName();
}

void WriteConfigFile(const QByteArray& content) {
  QDir().mkpath(QFileInfo(ConfigFile()).path());
  QFile file(ConfigFile());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(content);
}

// The lines the program printed about its settings; Qt may print warnings of its own.
int Complaints(const std::string& stderrText) {
  int count = 0;
  for (size_t at = stderrText.find("sorvell: "); at != std::string::npos;
       at = stderrText.find("sorvell: ", at + 1))
    ++count;
  return count;
}

// A start and a close of the window, with what the start printed on stderr.
struct Start {
  std::unique_ptr<TFrm_WD10> window;
  std::string stderrText;
};

Start StartWindow() {
  testing::internal::CaptureStderr();
  Start start{std::make_unique<TFrm_WD10>(), {}};
  start.window->show();
  // A remembered central type is chosen once the window is on the screen.
  WaitFor([] { return false; }, 50);
  start.stderrText = testing::internal::GetCapturedStderr();
  return start;
}

std::string CloseWindow(TFrm_WD10& window) {
  testing::internal::CaptureStderr();
  window.close();
  EXPECT_TRUE(WaitFor([&] { return !window.isVisible(); }));
  return testing::internal::GetCapturedStderr();
}

bool StartsWithTheDefaults(const TFrm_WD10& window) {
  return window.RadioButton15->isChecked() && window.ComPort1->BaudRate() == br19200 &&
         window.ComPort1->Port() == "COM1" && window.SrcpServerEdit->text() == "127.0.0.1:4303";
}

TEST(RememberedSettings, SecondStartHasWhatTheFirstEndedWith) {
  {
    Start first = StartWindow();
    ASSERT_TRUE(StartsWithTheDefaults(*first.window));
    EXPECT_EQ(Complaints(first.stderrText), 0);
    first.window->RadioButton17->setChecked(true);
    first.window->ComPort1->SetPort("/dev/serial/by-id/usb-Lenz-adapter");
    first.window->ComPort1->SetBaudRate(br19200);
    first.window->ComPort1->Parity().SetBits(prEven);
    first.window->SrcpServerEdit->setText("layout-pi:4304");
    first.window->move(40, 60);
    EXPECT_EQ(Complaints(CloseWindow(*first.window)), 0);
  }
  Start second = StartWindow();
  TFrm_WD10& window = *second.window;
  EXPECT_EQ(Complaints(second.stderrText), 0);
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
  const struct {
    const char* what;
    std::function<void()> spoil;
  } cases[] = {
      {"random bytes",
       [] {
         QByteArray noise(4096, '\0');
         for (char& byte : noise) byte = char(QRandomGenerator::global()->generate());
         WriteConfigFile(noise);
       }},
      {"values that are not ours",
       [] { WriteConfigFile("central=steam\n[lenz]\nbaudrate=fast\nparity=\xff\n"); }},
      {"a folder where the file belongs", [] { QDir().mkpath(ConfigFile()); }},
  };
  for (const auto& spoilt : cases) {
    SCOPED_TRACE(spoilt.what);
    QDir(QFileInfo(ConfigFile()).path()).removeRecursively();
    spoilt.spoil();
    Start start = StartWindow();
    EXPECT_TRUE(StartsWithTheDefaults(*start.window));
    EXPECT_LE(Complaints(start.stderrText), 1);
    CloseWindow(*start.window);
  }
}

TEST(RememberedSettings, UnwritableFolderStillLetsTheWindowClose) {
  // The folder the file would go in is a file: no user, root included, can write there.
  const QString folder = QFileInfo(ConfigFile()).path();
  QDir().mkpath(QFileInfo(folder).path());
  QFile blocker(folder);
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();

  Start start = StartWindow();
  EXPECT_TRUE(StartsWithTheDefaults(*start.window));
  const std::string complaint = CloseWindow(*start.window);
  EXPECT_NE(complaint.find("cannot write"), std::string::npos) << complaint;
  EXPECT_EQ(Complaints(complaint), 1);
}

}  // namespace
