#include "platform/BlockedCloseWatch.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <cstring>

namespace {

std::uint32_t InternAtom(xcb_connection_t* connection, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const std::uint32_t atom = reply->atom;
  std::free(reply);
  return atom;
}

// Whether the toolkit would drop a close request for `window`, by its own rule: a modal window
// blocks every other window unless it is window-modal, when it blocks only the windows it belongs
// to; never the windows that belong to it.
bool BlockedByModalWindow(const QWindow& window) {
  const QWindow* modal = QGuiApplication::modalWindow();
  if (!modal || modal == &window || modal->isAncestorOf(&window, QWindow::IncludeTransients))
    return false;
  return modal->modality() != Qt::WindowModal ||
         window.isAncestorOf(modal, QWindow::IncludeTransients);
}

}  // namespace

std::unique_ptr<BlockedCloseWatch> BlockedCloseWatch::ForThisDesktop(Handler handler) {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection()) return nullptr;
  const std::uint32_t protocols = InternAtom(x11->connection(), "WM_PROTOCOLS");
  const std::uint32_t deleteWindow = InternAtom(x11->connection(), "WM_DELETE_WINDOW");
  if (protocols == XCB_ATOM_NONE || deleteWindow == XCB_ATOM_NONE) return nullptr;
  auto watch = std::make_unique<BlockedCloseWatch>(protocols, deleteWindow, std::move(handler));
  QCoreApplication::instance()->installNativeEventFilter(watch.get());
  return watch;
}

BlockedCloseWatch::BlockedCloseWatch(std::uint32_t protocolsAtom, std::uint32_t deleteWindowAtom,
                                     Handler handler)
    : protocolsAtom_(protocolsAtom),
      deleteWindowAtom_(deleteWindowAtom),
      handler_(std::move(handler)) {}

BlockedCloseWatch::~BlockedCloseWatch() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool BlockedCloseWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                          qintptr* /*result*/) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) return false;
  const auto* request = static_cast<const xcb_client_message_event_t*>(message);
  if (request->format != 32 || request->type != protocolsAtom_ ||
      request->data.data32[0] != deleteWindowAtom_)
    return false;
  for (QWindow* window : QGuiApplication::topLevelWindows()) {
    // A window that was never shown has no native window to be closed, and asking for its id
    // would make one.
    if (!window->handle() || window->winId() != request->window) continue;
    if (BlockedByModalWindow(*window)) handler_(*window);
    break;
  }
  return false;
}
