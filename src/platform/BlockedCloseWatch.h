// On an X11 desktop the toolkit drops a window manager's close request for a window that a modal
// window blocks (the port settings, a message box): the user clicked the title bar's close and
// nothing ever happens, not even once the modal window has gone. This watch sees the request
// before the toolkit does and hands it to the program.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <memory>

class QWindow;

class BlockedCloseWatch final : public QAbstractNativeEventFilter {
 public:
  // Called with the top-level window the user asked to close while a modal window blocks it.
  using Handler = std::function<void(QWindow& window)>;

  // Watches the application's own X11 connection. On any other platform there is nothing to
  // watch: a close request there reaches the window even while it is blocked.
  static std::unique_ptr<BlockedCloseWatch> ForThisDesktop(Handler handler);

  // The atoms are the server's numbers for WM_PROTOCOLS and WM_DELETE_WINDOW.
  BlockedCloseWatch(std::uint32_t protocolsAtom, std::uint32_t deleteWindowAtom, Handler handler);
  ~BlockedCloseWatch() override;
  BlockedCloseWatch(const BlockedCloseWatch&) = delete;
  BlockedCloseWatch& operator=(const BlockedCloseWatch&) = delete;

  // Never consumes the event: the toolkit still sees it (and keeps its own rules for it).
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  std::uint32_t protocolsAtom_;
  std::uint32_t deleteWindowAtom_;
  Handler handler_;
};
