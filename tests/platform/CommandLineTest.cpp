// The installed program run as a user runs it from a terminal: no display, no platform chosen.
#include <gtest/gtest.h>

#include <QProcess>

namespace {

struct Outcome {
  int exitCode;
  QString out, err;
};

Outcome Sorvell(const QStringList& arguments, const QString& lang = "C",
                const QString& outputFile = {}) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name :
       {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_CTYPE", "LANGUAGE"})
    environment.remove(name);
  environment.insert("LANG", lang);
  QProcess process;
  process.setProcessEnvironment(environment);
  if (!outputFile.isEmpty()) process.setStandardOutputFile(outputFile);
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

TEST(CommandLine, AnythingElseFailsAndSaysWhy) {
  // Without options the window is wanted, which needs the display this test does not give.
  const std::tuple<QStringList, int, QString, QString> cases[] = {
      {{"--bogus"}, 2, "'--bogus'", ""},
      {{"--version=2"}, 2, "'--version=2'", ""},
      {{"-platform", "x"}, 2, "'-platform'", ""},
      {{"--help", ""}, 2, "''", ""},
      {{"--version"}, 1, "cannot write", "/dev/full"},
      {{}, -1, "platform plugin", ""}};
  for (const auto& [arguments, exitCode, err, outputFile] : cases) {
    const Outcome run = Sorvell(arguments, "C", outputFile);
    EXPECT_EQ(run.exitCode, exitCode) << arguments.join(' ').toStdString();
    EXPECT_EQ(run.out, QString());
    EXPECT_TRUE(run.err.contains(err)) << run.err.toStdString();
    // A usage error names the program and where to read the usage.
    EXPECT_TRUE(exitCode != 2 ||
                (run.err.startsWith("sorvell: ") && run.err.contains("sorvell --help")));
  }
}

}  // namespace
