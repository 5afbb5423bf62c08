// The three languages the window speaks, which one the desktop asks for, and the catalogues
// built into the program. Dutch is the window's own language: its texts are written in Dutch in
// the code, so a missing catalogue still leaves a Dutch window. The serial layer writes English
// and has a Dutch and a German catalogue.
#pragma once

#include <QLocale>
#include <QString>
#include <optional>

enum class Language { Dutch, English, German };

inline constexpr Language kLanguages[] = {Language::Dutch, Language::English, Language::German};

// The short name a catalogue and the settings file use: "nl", "en", "de".
QString LanguageCode(Language language);
std::optional<Language> LanguageFromCode(const QString& code);
// The language's name in that language: "Nederlands", "English", "Deutsch".
QString LanguageName(Language language);

// The language for the values of LANGUAGE, LC_ALL, LC_MESSAGES and LANG as the C library reads
// them: the first of the last three that is set names the locale, and LANGUAGE (a list, the
// first entry one of ours wins) goes before it unless that locale is C. English for "en_*",
// German for "de_*", Dutch for anything else.
Language LanguageOfLocale(const QString& language, const QString& lcAll, const QString& lcMessages,
                          const QString& lang);
// The same for this process's environment.
Language DesktopLanguage();

// The text in the given language, whichever catalogue the application uses.
QString TextIn(Language language, const char* context, const char* source);

// The language UseLanguage was last given; Dutch before.
Language LanguageInUse();

// How numbers are written in the window's language ("10.000", "10,000").
QLocale WindowLocale();

// Makes QCoreApplication::translate answer in the language; needs the application object.
void UseLanguage(Language language);
