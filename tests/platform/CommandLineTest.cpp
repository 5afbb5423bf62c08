// The installed program run as a user runs it from a terminal: no display, no platform chosen.
#include <gtest/gtest.h>

#include <QProcess>

namespace {

struct Outcome {
  int exitCode;
  QString out;
  QString err;
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
  const struct {
    QStringList arguments;
    const char* lang;
    QString out;  // the whole answer, or for the help its start
  } cases[] = {
      {{"--version"}, "C.UTF-8", "Sorvell " SORVELL_VERSION "\nCopyright \u00A9 Velmar\n"},
      {{"--version"}, "C", "Sorvell " SORVELL_VERSION "\nCopyright (C) Velmar\n"},  // no sign
      {{"--help"}, "C", usage},
      {{"-h"}, "C", usage},
      {{"--version", "-h"}, "C", usage},
  };
  for (const auto& [arguments, lang, out] : cases) {
    const Outcome run = Sorvell(arguments, lang);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(out == usage ? run.out.left(usage.size()) : run.out, out);
    EXPECT_TRUE(out != usage || run.out.contains("WD10")) << run.out.toStdString();
    EXPECT_EQ(run.err, QString());
  }
}

TEST(CommandLine, AnythingElseIsAUsageError) {
  const QStringList rejected[] = {
      {"--bogus"},   {"-v"}, {"--version=2"}, {"settings.conf"}, {"-platform", "offscreen"},
      {"--help", ""}};
  for (const QStringList& arguments : rejected) {
    const Outcome run = Sorvell(arguments);
    const QString culprit = arguments.first() == "--help" ? arguments.last() : arguments.first();
    EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_EQ(run.out, QString());
    EXPECT_TRUE(run.err.startsWith("sorvell: ") && run.err.contains(u'\'' + culprit + u'\'') &&
                run.err.contains("sorvell --help"))
        << run.err.toStdString();
  }
}

TEST(CommandLine, AnAnswerThatCannotBeWrittenFails) {
  const Outcome run = Sorvell({"--version"}, "C", "/dev/full");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains("cannot write")) << run.err.toStdString();
}

// Without options the window is wanted, which needs the display this test does not give.
TEST(CommandLine, WithoutOptionsTheWindowStarts) {
  const Outcome run = Sorvell({});
  EXPECT_NE(run.exitCode, 0);
  EXPECT_EQ(run.out, QString());
  EXPECT_TRUE(run.err.contains("platform plugin")) << run.err.toStdString();
}

}  // namespace
