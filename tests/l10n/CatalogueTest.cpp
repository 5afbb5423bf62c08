// The catalogues and the choice of language.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "platform/Language.h"
#include "support/RecordingNotifier.h"
#include "support/TestedWindow.h"
#include "window/RememberedSettings.h"

namespace {

struct Message {
  QString context;
  QString source;
  QString translation;
  QString type;  // "unfinished", "vanished", "obsolete" or empty
};

std::vector<Message> MessagesOf(const QString& code) {
  QFile file(QStringLiteral(SORVELL_TRANSLATIONS_DIR "/sorvell_%1.ts").arg(code));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
  std::vector<Message> messages;
  QXmlStreamReader xml(&file);
  QString context;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"name") context = xml.readElementText();
    if (xml.name() == u"message") messages.push_back({context, {}, {}, {}});
    if (xml.name() == u"source") messages.back().source = xml.readElementText();
    if (xml.name() == u"translation") {
      messages.back().type = xml.attributes().value("type").toString();
      messages.back().translation = xml.readElementText();
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return messages;
}

QStringList Placeholders(const QString& text) {
  static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
  QStringList found;
  for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
    found << match.captured();
  found.sort();
  return found;
}

// The code's English texts: the serial layer's and the stderr lines' (the command line, the
// settings).
bool EnglishSource(const QString& context) {
  return context == u"SerialPortError" || context == u"PortSettingsDialog" || context == u"main" ||
         context == u"RememberedSettings";
}

TEST(Catalogues, EveryTextTranslatedWithItsPlaceholdersAndTheDutchAsWritten) {
  const std::vector<Message> dutch = MessagesOf(QStringLiteral("nl"));
  ASSERT_GT(dutch.size(), 200u);
  for (const Language language : kLanguages) {
    const std::vector<Message> messages = MessagesOf(LanguageCode(language));
    EXPECT_EQ(messages.size(), dutch.size()) << "lupdate keeps all three at the same texts";
    for (const Message& m : messages) {
      SCOPED_TRACE((LanguageCode(language) + ' ' + m.context + ": " + m.source).toStdString());
      EXPECT_TRUE(m.type.isEmpty()) << m.type.toStdString();
      EXPECT_FALSE(m.translation.isEmpty());
      EXPECT_EQ(Placeholders(m.translation), Placeholders(m.source));
      // What the program showed before it spoke three languages, byte for byte.
      if ((language == Language::Dutch) != EnglishSource(m.context) &&
          language != Language::German) {
        EXPECT_EQ(m.translation, m.source);
      }
      // The built-in catalogue is this file's.
      EXPECT_EQ(TextIn(language, m.context.toUtf8(), m.source.toUtf8()), m.translation);
    }
  }
}

TEST(Language, FromTheEnvironmentAsTheCLibraryReadsIt) {
  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG.
  const std::tuple<const char*, const char*, const char*, const char*, Language> rows[] = {
      {"", "", "", "de_DE.UTF-8", Language::German},
      {"", "", "", "en_GB.UTF-8", Language::English},
      {"", "", "", "en_US", Language::English},
      {"", "", "", "nl_NL.UTF-8", Language::Dutch},
      {"", "", "", "fr_FR.UTF-8", Language::Dutch},
      {"", "", "", "C.UTF-8", Language::Dutch},
      {"", "", "", "", Language::Dutch},
      {"", "", "en_GB.UTF-8", "de_DE.UTF-8", Language::English},
      {"", "de_DE.UTF-8", "en_GB.UTF-8", "nl_NL.UTF-8", Language::German},
      {"fr:de:en", "", "", "nl_NL.UTF-8", Language::German},
      {"de", "C", "", "en_GB.UTF-8", Language::Dutch},  // the C locale ignores LANGUAGE
      {"fr", "", "", "en_GB.UTF-8", Language::English},
  };
  for (const auto& [language, lcAll, lcMessages, lang, expected] : rows) {
    SCOPED_TRACE(std::string(language) + '|' + lcAll + '|' + lcMessages + '|' + lang);
    EXPECT_EQ(LanguageOfLocale(language, lcAll, lcMessages, lang), expected);
  }
}

// The box in the window remembers the choice, which then goes before the desktop's; the window
// says so in the language chosen.
TEST(Language, TheWindowsChoiceIsRememberedAndOverridesTheDesktop) {
  qputenv("LANG", "en_GB.UTF-8");
  EXPECT_EQ(WindowLanguage(RememberedSettings()), Language::English);
  {
    TestedWindow window;
    QComboBox* box = window.findChild<QComboBox*>(QStringLiteral("languageBox"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->currentText(), "Nederlands");
    EXPECT_EQ(box->accessibleName(), "Taal");
    box->setCurrentIndex(2);
    emit box->activated(2);
    EXPECT_EQ(Notifications().messages,
              QStringList{"Sorvell spricht ab dem nächsten Start Deutsch."});
  }
  EXPECT_EQ(WindowLanguage(RememberedSettings()), Language::German);
  qunsetenv("LANG");
}

}  // namespace
