// Which command station the user works with: the central type's radio buttons and captions, the
// SRCP server's address, the link built for them (LinkFactory), and what is remembered between
// starts. The window owns one link at a time, of the chosen type.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Language.h"
#include "platform/Task.h"
#include "window/CentralType.h"

class CommandStationLink;
class DecoderForm;
class LinkObserver;
class QWidget;
class RememberedSettings;
class TcpClient;
class SerialPort;
struct MainWindowWidgets;

class StationChoice {
 public:
  // What a link is lent for its life.
  struct Transport {
    SerialPort& port;
    TcpClient& commandSession;
    TcpClient& infoSession;
    // Told when a server session that "Verbinden" made goes without the link ending it.
    std::function<void()> serverSessionLost;
  };

  StationChoice(QWidget& window, MainWindowWidgets& widgets, DecoderForm& form, Transport transport,
                LinkObserver& observer);
  ~StationChoice();

  // The captions of the central type's row, on the window.
  void ShowChoice(CentralType central);
  // The link of the chosen type, built anew for the server address the field shows; the task
  // prepares its transport (the port's settings, or the server's command session). The link
  // that was there must have no task left.
  Task<void> BuildLink();
  // The server field was left: true when the link must follow it. An address that is no
  // address is said once, and the link then refuses "Verbinden".
  bool ServerAddressEdited();

  CommandStationLink& Link() const { return *link_; }
  CentralType Central() const { return central_; }
  const QString& ServerAddress() const { return srcpServer_; }
  // The highest first address whose group B the station can switch, as far as the link says.
  int HighestReachableFirstAddress() const;
  // The last first address both the field and the station take.
  int HighestFirstAddress() const;
  // Why a run to this group B address is refused before anything is sent; empty when the
  // station can switch it.
  QString UnreachableAddressRefusal(int groupBAddress) const;

  // The choice of station and server, closed to the user while a connect goes on.
  void SetEnabled(bool enabled);
  void SetFontScale(double scale) { fontScale_ = scale; }

  // The server and the window's place as the user left them; the central type remembered, to be
  // chosen once the window is on the screen (choosing a server connects to it, and what goes
  // wrong there is shown in a box).
  std::optional<CentralType> RestoreRemembered();
  void Remember(bool withWindowPosition);
  // Remembers the language for the next start.
  void ChooseLanguage(Language language);

 private:
  void SetStationAboutVisible(bool visible);

  QWidget& window_;
  MainWindowWidgets& w_;
  DecoderForm& form_;
  Transport transport_;
  LinkObserver& observer_;
  std::unique_ptr<RememberedSettings> settings_;
  std::unique_ptr<CommandStationLink> link_;
  CentralType central_ = CentralType::LocoNet;
  // The server address the current link was built with.
  QString srcpServer_;
  // The last address the field held that named a server: what is remembered, so that a text
  // that names none does not replace the user's server at the next start.
  QString validSrcpServer_;
  // How much the window grew to show its captions in the desktop's font (1: as designed).
  double fontScale_ = 1;
};
