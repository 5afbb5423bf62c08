// The installed program run as a user runs it from a terminal: no display, no platform chosen.
#include <gtest/gtest.h>

#include <QProcess>

namespace {

struct Outcome {
  int exitCode;
  QProcess::ExitStatus exitStatus;
  QString out;
  QString err;
};

Outcome Sorvell(const QStringList& arguments, const QString& lang = QStringLiteral("C"),
                const QString& outputFile = {}) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name :
       {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LC_ALL", "LC_CTYPE", "LANGUAGE"})
    environment.remove(QString::fromLatin1(name));
  environment.insert(QStringLiteral("LANG"), lang);
  QProcess process;
  process.setProcessEnvironment(environment);
  if (!outputFile.isEmpty()) process.setStandardOutputFile(outputFile);
  process.start(QStringLiteral(SORVELL_EXECUTABLE), arguments);
  EXPECT_TRUE(process.waitForFinished(20000)) << arguments.join(' ').toStdString();
  return {process.exitCode(), process.exitStatus(),
          QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

TEST(CommandLine, VersionComesFromTheProgramsVersionBlock) {
  const struct {
    const char* lang;
    QString copyright;
  } cases[] = {
      {"C.UTF-8", QStringLiteral("Copyright \u00A9 Velmar")},
      {"C", QStringLiteral("Copyright (C) Velmar")},  // a terminal without the sign
  };
  for (const auto& [lang, copyright] : cases) {
    const Outcome run = Sorvell({QStringLiteral("--version")}, QString::fromLatin1(lang));
    EXPECT_EQ(run.exitCode, 0) << lang;
    EXPECT_EQ(run.out, QStringLiteral("Sorvell " SORVELL_VERSION "\n") + copyright + '\n') << lang;
    EXPECT_EQ(run.err, QString()) << lang;
  }
}

TEST(CommandLine, HelpSaysWhatTheProgramIs) {
  for (const QStringList& arguments :
       {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("-h")},
        QStringList{QStringLiteral("--version"), QStringLiteral("-h")}}) {
    const Outcome run = Sorvell(arguments);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Usage: sorvell [--help | --version]\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("WD10")));
    EXPECT_EQ(run.err, QString());
  }
}

TEST(CommandLine, AnythingElseIsAUsageError) {
  const QStringList rejected[] = {
      {QStringLiteral("--bogus")},
      {QStringLiteral("-v")},
      {QStringLiteral("--version=2")},
      {QStringLiteral("settings.conf")},
      {QStringLiteral("-platform"), QStringLiteral("offscreen")},
      {QStringLiteral("--help"), QStringLiteral("")},
  };
  for (const QStringList& arguments : rejected) {
    const Outcome run = Sorvell(arguments);
    const QString culprit =
        arguments.first() == QStringLiteral("--help") ? arguments.last() : arguments.first();
    EXPECT_EQ(run.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_EQ(run.out, QString());
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("sorvell: ")) &&
                run.err.contains(u'\'' + culprit + u'\'') &&
                run.err.contains(QStringLiteral("sorvell --help")))
        << run.err.toStdString();
  }
}

TEST(CommandLine, AnAnswerThatCannotBeWrittenFails) {
  const Outcome run =
      Sorvell({QStringLiteral("--version")}, QStringLiteral("C"), QStringLiteral("/dev/full"));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("cannot write"))) << run.err.toStdString();
}

// Without options the window is wanted, which needs the display this test does not give.
TEST(CommandLine, WithoutOptionsTheWindowStarts) {
  const Outcome run = Sorvell({});
  EXPECT_TRUE(run.exitStatus == QProcess::CrashExit || run.exitCode != 0);
  EXPECT_EQ(run.out, QString());
  EXPECT_TRUE(run.err.contains(QStringLiteral("platform plugin"))) << run.err.toStdString();
}

}  // namespace
