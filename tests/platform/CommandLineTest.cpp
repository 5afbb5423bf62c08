// The installed program run as a user runs it from a terminal: no display, no platform chosen.
#include <gtest/gtest.h>

#include <QProcess>

#include "platform/VersionInfo.h"

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

// The build puts the version block into the program itself, in table 041304E4 only.
TEST(CommandLine, TheProgramCarriesItsVersionDataInTableDutch) {
  std::vector<char> block(GetFileVersionInfoSizeA(SORVELL_EXECUTABLE));
  ASSERT_TRUE(!block.empty() && GetFileVersionInfoA(SORVELL_EXECUTABLE, block));
  const auto query = [&](const std::string& path) -> std::optional<std::string> {
    const char* value = nullptr;
    std::uint32_t length = 0;
    if (!VerQueryValueA(block, path, &value, &length)) return std::nullopt;
    return std::string(value, length);
  };
  const std::string version("\1\0\0\0\4\0\x09\0", 8);
  EXPECT_EQ(query("\\"), version + version);  // file and product version
  EXPECT_EQ(query("\\VarFileInfo\\Translation"), std::string("\x13\x04\xE4\x04", 4));
  const std::pair<const char*, const char*> strings[] = {
      {"CompanyName", "Velmar"},
      {"FileDescription", "Sorvell"},
      {"FileVersion", "1.0.4.9"},
      {"InternalName", ""},
      {"LegalTrademarks", ""},
      {"OriginalFilename", ""},
      {"ProductName", "Sorvell"},
      {"ProductVersion", "1.0.0.0"},
      {"Comments", ""},
      {"LegalCopyright", "Copyright \xA9 Velmar"},  // code page 1252, as the table says
  };
  for (const auto& [key, value] : strings)
    EXPECT_EQ(query(std::string("StringFileInfo\\041304E4\\") + key), value) << key;
  EXPECT_EQ(query("StringFileInfo\\040904E4\\CompanyName"), std::nullopt);
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

TEST(CommandLine, AnythingElseFailsAndSaysWhy) {
  const struct {
    QStringList arguments;
    int exitCode;
    QString err;
    QString outputFile = {};
  } cases[] = {
      {{"--bogus"}, 2, "'--bogus'"},
      {{"-v"}, 2, "'-v'"},
      {{"--version=2"}, 2, "'--version=2'"},
      {{"settings.conf"}, 2, "'settings.conf'"},
      {{"-platform", "offscreen"}, 2, "'-platform'"},
      {{"--help", ""}, 2, "''"},
      {{"--version"}, 1, "cannot write", "/dev/full"},
      // Without options the window is wanted, which needs the display this test does not give.
      {{}, -1, "platform plugin"},
  };
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
