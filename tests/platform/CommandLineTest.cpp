// The installed program run as a user runs it from a terminal: no display, no platform chosen;
// and its window's start, as far as the terminal sees it.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/WaitFor.h"

namespace {

struct Outcome {
  int exitCode;
  QString out, err;
};

// A settings file that cannot be read: a folder in its place.
constexpr char kUnreadableSettings[] = "unreadable";

Outcome Sorvell(const QStringList& arguments, const QString& lang = "C",
                const QString& outputFile = {}) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name :
       {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_CTYPE", "LANGUAGE"})
    environment.remove(name);
  environment.insert("LANG", lang);
  const QTemporaryDir config;
  environment.insert("XDG_CONFIG_HOME", config.path());
  if (outputFile == kUnreadableSettings) QDir(config.path()).mkpath("Sorvell/sorvell.conf");
  QProcess process;
  process.setProcessEnvironment(environment);
  if (outputFile.startsWith('/')) process.setStandardOutputFile(outputFile);
  process.start(SORVELL_EXECUTABLE, arguments);
  EXPECT_TRUE(process.waitForFinished(20000)) << arguments.join(' ').toStdString();
  // A crash counts as a failure exit.
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

TEST(CommandLine, VersionAndHelpAnswerOnStandardOutput) {
  const QString usage = "Usage: sorvell [--help | --version]\n";
  // The whole answer, or for the help its start.
  const std::tuple<QStringList, const char*, QString> cases[] = {
      {{"--version"}, "C.UTF-8", "Sorvell " SORVELL_VERSION "\nCopyright \u00A9 Velmar\n"},
      {{"--version"}, "C", "Sorvell " SORVELL_VERSION "\nCopyright (C) Velmar\n"},  // no sign
      {{"-h"}, "en_GB.UTF-8", usage}};
  for (const auto& [arguments, lang, out] : cases) {
    const Outcome run = Sorvell(arguments, lang);
    EXPECT_TRUE(run.exitCode == 0 && run.err.isEmpty()) << run.err.toStdString();
    EXPECT_EQ(out == usage ? run.out.left(usage.size()) : run.out, out);
    EXPECT_TRUE(out != usage || run.out.contains("WD10")) << run.out.toStdString();
  }
}

TEST(CommandLine, AnythingElseFailsAndSaysWhyInTheDesktopsLanguage) {
  // Without options the window is wanted, which needs the display this test does not give.
  const std::tuple<QStringList, const char*, int, QString, QString> cases[] = {
      {{"--bogus"}, "C", 2, "onbekende optie '--bogus'", ""},
      {{"--bogus"}, "en_US.UTF-8", 2, "unknown option '--bogus'", ""},
      {{"--bogus"}, "de_AT.UTF-8", 2, "unbekannte Option '--bogus'", ""},
      {{"--version=2"}, "C", 2, "'--version=2'", ""},
      {{"-platform", "x"}, "C", 2, "'-platform'", ""},
      {{"--help", ""}, "de_DE.UTF-8", 2, "unerwartetes Argument ''", ""},
      {{"--version"}, "C", 1, "kan de uitvoer niet schrijven", "/dev/full"},
      {{"--help"}, "de_DE.UTF-8", 0, "sorvell.conf kann nicht gelesen", kUnreadableSettings},
      {{}, "C", -1, "platform plugin", ""}};
  for (const auto& [arguments, lang, exitCode, err, outputFile] : cases) {
    SCOPED_TRACE(arguments.join(' ').toStdString() + ' ' + lang);
    const Outcome run = Sorvell(arguments, lang, outputFile);
    EXPECT_EQ(run.exitCode, exitCode) << arguments.join(' ').toStdString();
    EXPECT_EQ(run.out.isEmpty(), exitCode != 0);
    EXPECT_TRUE(run.err.contains(err)) << run.err.toStdString();
    // A usage error names the program and where to read the usage.
    EXPECT_TRUE(exitCode != 2 ||
                (run.err.startsWith("sorvell: ") && run.err.contains("sorvell --help")));
  }
}

// The start reads the settings for the window's language and the window reads them again: a file
// that cannot be read is still one line.
TEST(CommandLine, WindowStartSaysOnceWhatIsWrongWithTheSettings) {
  const QTemporaryDir config;
  QDir(config.path()).mkpath("Sorvell/sorvell.conf");
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("XDG_CONFIG_HOME", config.path());
  QProcess process;
  process.setProcessEnvironment(environment);
  process.start(SORVELL_EXECUTABLE, QStringList());
  QString err;
  const auto complaints = [&] {
    err += QString::fromUtf8(process.readAllStandardError());
    return err.count("sorvell.conf");
  };
  ASSERT_TRUE(WaitFor([&] { return complaints() > 0; }, 20000)) << err.toStdString();
  // A second reader would have said it within the same moment of the start.
  QTest::qWait(1000);
  EXPECT_EQ(complaints(), 1) << err.toStdString();
  process.kill();
  process.waitForFinished();
}

}  // namespace
