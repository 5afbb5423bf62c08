#include "platform/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <array>
#include <memory>

namespace {

struct LanguageFacts {
  Language language;
  const char* code;
  const char* name;
};

constexpr std::array<LanguageFacts, 3> kFacts{{
    {Language::Dutch, "nl", "Nederlands"},
    {Language::English, "en", "English"},
    {Language::German, "de", "Deutsch"},
}};

const LanguageFacts& FactsOf(Language language) {
  for (const LanguageFacts& facts : kFacts)
    if (facts.language == language) return facts;
  return kFacts[0];
}

// "de_AT.UTF-8@euro" -> "de".
QString LanguagePart(const QString& locale) {
  QString code = locale.section(u'.', 0, 0).section(u'@', 0, 0).section(u'_', 0, 0);
  return code.toLower();
}

bool IsPlainLocale(const QString& locale) {
  const QString base = locale.section(u'.', 0, 0);
  return base == u"C" || base == u"POSIX";
}

// One translator per language for the whole run, all loaded at the first use of any.
QTranslator& TranslatorOf(Language language) {
  static const auto translators = [] {
    std::array<std::unique_ptr<QTranslator>, kFacts.size()> loaded;
    for (const LanguageFacts& facts : kFacts) {
      auto& translator = loaded[std::size_t(facts.language)];
      translator = std::make_unique<QTranslator>();
      // Without the catalogue the texts stay as the code writes them.
      (void)translator->load(QStringLiteral(":/i18n/sorvell_%1.qm").arg(facts.code));
    }
    return loaded;
  }();
  return *translators[std::size_t(language)];
}

Language& InUse() {
  static Language language = Language::Dutch;
  return language;
}

}  // namespace

QString LanguageCode(Language language) {
  return QString::fromLatin1(FactsOf(language).code);
}

std::optional<Language> LanguageFromCode(const QString& code) {
  for (const LanguageFacts& facts : kFacts)
    if (code == QLatin1String(facts.code)) return facts.language;
  return std::nullopt;
}

QString LanguageName(Language language) {
  return QString::fromUtf8(FactsOf(language).name);
}

Language LanguageOfLocale(const QString& language, const QString& lcAll, const QString& lcMessages,
                          const QString& lang) {
  const QString locale = !lcAll.isEmpty() ? lcAll : !lcMessages.isEmpty() ? lcMessages : lang;
  if (!locale.isEmpty() && !IsPlainLocale(locale)) {
    for (const QString& entry : language.split(u':', Qt::SkipEmptyParts))
      if (const auto chosen = LanguageFromCode(LanguagePart(entry))) return *chosen;
  }
  const QString code = LanguagePart(locale);
  if (code == u"en") return Language::English;
  if (code == u"de") return Language::German;
  return Language::Dutch;
}

Language DesktopLanguage() {
  return LanguageOfLocale(qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"),
                          qEnvironmentVariable("LC_MESSAGES"), qEnvironmentVariable("LANG"));
}

QString TextIn(Language language, const char* context, const char* source) {
  const QString text = TranslatorOf(language).translate(context, source);
  return text.isEmpty() ? QString::fromUtf8(source) : text;
}

Language LanguageInUse() {
  return InUse();
}

QLocale WindowLocale() {
  return QLocale(LanguageCode(InUse()));
}

void UseLanguage(Language language) {
  // The toolkit's own words (a file dialog's buttons, a text field's menu) from Qt's catalogue,
  // where the system has it; ours go in last, so that they win.
  static QTranslator toolkit;
  QCoreApplication::removeTranslator(&toolkit);
  QCoreApplication::removeTranslator(&TranslatorOf(InUse()));
  if (toolkit.load(QStringLiteral("qtbase_") + LanguageCode(language),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&toolkit);
  QCoreApplication::installTranslator(&TranslatorOf(language));
  InUse() = language;
}
