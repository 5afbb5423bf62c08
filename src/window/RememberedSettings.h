// What Sorvell remembers between starts, in the user's configuration
// ($XDG_CONFIG_HOME/Sorvell/sorvell.conf): the central type, each central type's serial port and
// line settings, the SRCP server's address, the window's position and its language. A file that is
// damaged, unreadable or unwritable never stops the program: it starts with the defaults and says
// so once on stderr.
#pragma once

#include <QPoint>
#include <QString>
#include <memory>
#include <optional>

#include "platform/Language.h"
#include "window/CentralType.h"

class QSettings;
class SerialPortBase;

class RememberedSettings;

// The window's language: the one chosen in the window, else the desktop's.
Language WindowLanguage(const RememberedSettings& settings);

class RememberedSettings {
 public:
  // Whether this reader says on stderr what is wrong with the file. The language is read before
  // the window exists, and the window reads the file again: the window's reader says it, once.
  enum class Complaints { Said, LeftToTheWindow };

  // Reads the file now; what is missing or unreadable in it is left to the defaults.
  explicit RememberedSettings(Complaints complaints = Complaints::Said);
  ~RememberedSettings();
  RememberedSettings(const RememberedSettings&) = delete;
  RememberedSettings& operator=(const RememberedSettings&) = delete;

  static QString FileName();

  std::optional<CentralType> Central() const;
  // Puts the remembered line settings of the central type on the port (nothing when none).
  void RestorePort(CentralType central, SerialPortBase& port) const;
  std::optional<QString> SrcpServer() const;
  std::optional<QPoint> WindowPosition() const;
  // The language chosen in the window, none while the desktop's is followed.
  std::optional<Language> ChosenLanguage() const;
  void RememberLanguage(Language language);

  // Takes what the user has set now, and writes the file. The port is the one the central type
  // is reached through, none for a server.
  void Remember(CentralType central, SerialPortBase* port, const QString& srcpServer,
                std::optional<QPoint> windowPosition = std::nullopt);

 private:
  void Write();
  // One line on stderr for the whole run, in the window's language; %1 in the sentence (an
  // English source text of the catalogue) is the file's name.
  void Complain(const char* sentence) const;

  std::unique_ptr<QSettings> file_;  // null when the file could not be read
  mutable bool complained_;
};
