// Program start. The command-line options are answered before the application object exists:
// that object needs a display, and "sorvell --version" has to work without one (over ssh, in a
// script, when a package is checked).
#include <iconv.h>
#include <langinfo.h>

#include <QApplication>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Language.h"
#include "platform/VersionInfo.h"
#include "window/MainWindow.h"
#include "window/RememberedSettings.h"

namespace {

// What getopt-style tools return for a command line they do not understand.
constexpr int kUsageError = 2;

// The kernel's link names the running executable however it was started; the window's version
// display reads the same file.
constexpr char kOwnExecutable[] = "/proc/self/exe";

constexpr const char* kHelp = QT_TRANSLATE_NOOP(
    "main",
    "Usage: sorvell [--help | --version]\n"
    "\n"
    "Sorvell sets up a Kuehn WD10 accessory decoder through your model railway's command\n"
    "station: an Intellibox or Twin-Center (LocoNet or P50X), a Lenz or Roco Multi-Maus\n"
    "system, a Märklin 6050/6051 interface, or an SRCP 0.8 server.\n"
    "\n"
    "Started without options it opens its window, in the desktop's language (English,\n"
    "German, or Dutch for any other) or in the one chosen in the window: choose the central\n"
    "type, connect, enter the decoder's first turnout address and the mode of each group,\n"
    "put the WD10 in its learning mode and press \"Program Kuehn WD10\".\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "To try it without hardware, start sorvell-sim with a central type first.\n");

// The version block's texts are in a Windows code page and ours in UTF-8; the terminal wants the
// user's character set, and gets "(C)" for a copyright sign it cannot show.
std::string ToTerminalText(std::string_view text, const std::string& characterSet) {
  const std::string target = std::string(nl_langinfo(CODESET)) + "//TRANSLIT";
  const iconv_t converter = iconv_open(target.c_str(), characterSet.c_str());
  std::string result;
  if (converter == iconv_t(-1)) {
    for (const char c : text) result += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    return result;
  }
  std::string input(text);
  char* in = input.data();
  std::size_t inLeft = input.size();
  while (inLeft > 0) {
    char buffer[256];
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const bool failed = iconv(converter, &in, &inLeft, &out, &outLeft) == std::size_t(-1);
    result.append(buffer, out);
    if (failed && errno != E2BIG) {
      result += '?';  // a byte the code page does not define
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  return result;
}

// The language of everything the command line answers, the window's; read once, and only when
// an answer is due, since reading the settings may itself have something to say.
Language AnswerLanguage() {
  static const Language language = WindowLanguage(RememberedSettings());
  return language;
}

// One line on stderr in the user's language; %1 in the diagnostic is filled with the detail.
int Fail(const char* diagnostic, const QString& detail = {}, int status = 1) {
  QString message = TextIn(AnswerLanguage(), "main", diagnostic);
  if (!detail.isNull()) message = message.arg(detail);
  std::fprintf(stderr, "sorvell: %s\n", ToTerminalText(message.toStdString(), "UTF-8").c_str());
  return status;
}

// A full disk or a closed pipe behind stdout is an error, not a silent success.
int Print(std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    return Fail(QT_TRANSLATE_NOOP("main", "cannot write the output: %1"),
                QString::fromLocal8Bit(std::strerror(errno)));
  return 0;
}

std::optional<std::string_view> Query(std::span<const char> block, const std::string& path) {
  const char* value = nullptr;
  std::uint32_t length = 0;
  if (!FindVersionValue(block, path, &value, &length)) return std::nullopt;
  return std::string_view(value, length);
}

std::uint16_t Uint16At(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// "Sorvell 1.0.4.9" and the copyright notice, from the version block built into the program.
int PrintVersion() {
  const std::uint32_t size = VersionBlockSize(kOwnExecutable);
  std::vector<char> block(size);
  if (size == 0 || !CopyVersionBlock(kOwnExecutable, block))
    return Fail(QT_TRANSLATE_NOOP("main", "this executable carries no version information"));

  const std::optional<std::string_view> fixed = Query(block, "\\");
  const std::optional<std::string_view> translation =
      Query(block, std::string(version_block::kTranslationPath));
  if (!fixed || fixed->size() < 8 || !translation || translation->size() < 4)
    return Fail(
        QT_TRANSLATE_NOOP("main", "the version information of this executable is incomplete"));
  const std::uint16_t codePage = Uint16At(*translation, 2);
  const std::string table = "StringFileInfo\\" +
                            version_block::StringTableName(Uint16At(*translation, 0), codePage) +
                            "\\";
  const std::string characterSet = "CP" + std::to_string(codePage);
  const std::optional<std::string_view> name = Query(block, table + "ProductName");
  if (!name)
    return Fail(
        QT_TRANSLATE_NOOP("main", "the version information of this executable names no product"));

  std::string text = ToTerminalText(*name, characterSet);
  for (std::size_t part = 0; part < 4; ++part)
    text += (part == 0 ? " " : ".") + std::to_string(Uint16At(*fixed, 2 * part));
  text += '\n';
  if (const auto copyright = Query(block, table + "LegalCopyright");
      copyright && !copyright->empty())
    text += ToTerminalText(*copyright, characterSet) + '\n';
  return Print(text);
}

// The exit status when the command line asks for an answer instead of the window.
std::optional<int> AnswerCommandLine(std::span<char* const> arguments) {
  if (arguments.size() < 2) return std::nullopt;
  std::setlocale(LC_CTYPE, "");
  bool help = false;
  bool version = false;
  for (const std::string_view argument : arguments.subspan(1)) {
    if (argument == "-h" || argument == "--help") {
      help = true;
    } else if (argument == "--version") {
      version = true;
    } else {
      const char* diagnostic =
          argument.starts_with('-')
              ? QT_TRANSLATE_NOOP("main",
                                  "unknown option '%1'\nTry 'sorvell --help' for more information.")
              : QT_TRANSLATE_NOOP(
                    "main", "unexpected argument '%1'\nTry 'sorvell --help' for more information.");
      return Fail(diagnostic, QString::fromLocal8Bit(argument.data(), qsizetype(argument.size())),
                  kUsageError);
    }
  }
  if (help) {
    const QString text = TextIn(AnswerLanguage(), "main", kHelp);
    return Print(ToTerminalText(text.toStdString(), "UTF-8"));
  }
  if (version) return PrintVersion();
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> status = AnswerCommandLine({argv, std::size_t(argc)}))
    return *status;
  QApplication app(argc, argv);
  UseLanguage(WindowLanguage(RememberedSettings(RememberedSettings::Complaints::LeftToTheWindow)));
  QApplication::setApplicationDisplayName(QStringLiteral("Sorvell"));
  // Lets a Wayland desktop match the window to the menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("nl.velmar.sorvell"));
  MainWindow window;
  window.show();
  return QApplication::exec();
}
