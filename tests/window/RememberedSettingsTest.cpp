// What the window remembers between starts, in the configuration the test main gives each test:
// written when the window closes, applied at the next start; a damaged, unreadable or
// unwritable file never stops a start or a close.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "support/TestedWindow.h"
#include "support/WaitFor.h"
#include "window/RememberedSettings.h"

namespace {

// The lines the program printed about its settings; Qt may print warnings of its own.
int Complaints(const std::string& stderrText) {
  return int(QString::fromStdString(stderrText).count("sorvell: "));
}

// A start of the window; the start and the close each say what they printed on stderr.
struct Start {
  Start() {
    testing::internal::CaptureStderr();
    window.show();
    // A remembered central type is chosen once the window is on the screen.
    WaitFor([] { return false; }, 50);
    complaints = Complaints(testing::internal::GetCapturedStderr());
  }
  std::string Close() {
    testing::internal::CaptureStderr();
    window.close();
    EXPECT_TRUE(WaitFor([&] { return !window.isVisible(); }));
    return testing::internal::GetCapturedStderr();
  }
  TestedWindow window;
  SerialPort& port = *window.serialPort;
  int complaints;
};

TEST(RememberedSettings, SecondStartHasWhatTheFirstEndedWith) {
  for (const bool first : {true, false}) {
    Start start;
    EXPECT_EQ(start.complaints, 0);
    if (first) {
      start.window.CentralButton(CentralType::Lenz)->setChecked(true);
      start.port.SetBaudRate(br19200);
      start.port.Parity().SetBits(prEven);
      start.port.FlowControl().SetFlowControl(fcSoftware);
      start.window.SrcpServerEdit->setText("layout-pi:4304");
      // A place where the whole window fits on the test's 800-pixel-wide screen.
      start.window.move(0, 60);
      EXPECT_EQ(Complaints(start.Close()), 0);
      continue;
    }
    EXPECT_TRUE(start.window.CentralButton(CentralType::Lenz)->isChecked());
    EXPECT_TRUE(start.port.BaudRate() == br19200 && start.port.Parity().Bits() == prEven &&
                start.port.FlowControl().FlowControl() == fcSoftware);
    EXPECT_EQ(start.window.SrcpServerEdit->text(), "layout-pi:4304");
    EXPECT_EQ(start.window.pos(), QPoint(0, 60));
    // The line settings are the Lenz interface's: another central type gets its own.
    start.window.CentralButton(CentralType::Maerklin)->setChecked(true);
    EXPECT_EQ(start.port.BaudRate(), br2400);
  }
}

TEST(RememberedSettings, FileThatCannotBeUsedMeansTheDefaultsAndOneLine) {
  const QString file = RememberedSettings::FileName();
  const QString folder = QFileInfo(file).path();
  // No content: a folder where the file belongs. A file where the folder belongs: no user, root
  // included, can write there, and the close says so, once.
  const std::pair<QString, QByteArray> cases[] = {
      {file, QByteArray("\0\xff[\x01=\n\xfe\x80", 8).repeated(500)},
      {file, "central=steam\n[lenz]\nbaudrate=fast\nparity=\xff\n"},
      {file, {}},
      {folder, ""}};
  for (const auto& [at, content] : cases) {
    SCOPED_TRACE(at.toStdString() + ' ' + content.left(8).toHex().toStdString());
    QDir(folder).removeRecursively();
    QDir().mkpath(content.isNull() ? at : QFileInfo(at).path());
    QFile out(at);
    ASSERT_TRUE(content.isNull() || (out.open(QIODevice::WriteOnly) && out.write(content) >= 0));
    out.close();
    Start start;
    EXPECT_TRUE(start.window.CentralButton(CentralType::LocoNet)->isChecked() &&
                start.port.BaudRate() == br19200 &&
                start.window.SrcpServerEdit->text() == "127.0.0.1:4303");
    EXPECT_LE(start.complaints, 1);
    const std::string said = start.Close();
    EXPECT_TRUE(at != folder ||
                (Complaints(said) == 1 &&
                 said.find(TextIn(DesktopLanguage(), "RememberedSettings",
                                  "cannot write the settings file %1; nothing is remembered")
                               .arg(RememberedSettings::FileName())
                               .toStdString()) != said.npos))
        << said;
  }
}

}  // namespace
