// Which close requests reach the program while a modal window is open: only the window manager's
// close of a window that the modal window blocks, each once.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QDialog>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include "platform/BlockedCloseWatch.h"
#include "support/WaitFor.h"

namespace {

constexpr std::uint32_t kProtocols = 41;
constexpr std::uint32_t kDeleteWindow = 42;

class BlockedCloseWatchTest : public testing::Test {
 protected:
  BlockedCloseWatchTest() {
    main.show();
    other.show();
  }

  // The windows the watch handed on for one client message to `target`.
  QList<QWindow*> Deliver(QWidget& target, std::uint32_t type = kProtocols,
                          std::uint32_t protocol = kDeleteWindow, std::uint8_t format = 32) {
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE | 0x80;  // as sent by another client
    request.format = format;
    request.window = std::uint32_t(target.windowHandle()->winId());
    request.type = type;
    request.data.data32[0] = protocol;
    handed.clear();
    EXPECT_FALSE(watch.nativeEventFilter("xcb_generic_event_t", &request, nullptr));
    return handed;
  }

  QWidget main;
  QWidget other;
  QList<QWindow*> handed;
  BlockedCloseWatch watch{kProtocols, kDeleteWindow,
                          [this](QWindow& window) { handed << &window; }};
};

TEST_F(BlockedCloseWatchTest, TheCloseOfAWindowAnApplicationModalWindowBlocks) {
  EXPECT_TRUE(Deliver(main).isEmpty()) << "no modal window is open yet";
  QDialog box(&main);
  box.setModal(true);
  box.show();
  ASSERT_TRUE(WaitFor([&] { return QGuiApplication::modalWindow() != nullptr; }));
  EXPECT_EQ(Deliver(main), QList<QWindow*>{main.windowHandle()});
  EXPECT_EQ(Deliver(other), QList<QWindow*>{other.windowHandle()});
  // The modal window's own close is the toolkit's to deliver, as are other messages.
  EXPECT_TRUE(Deliver(box).isEmpty());
  EXPECT_TRUE(Deliver(main, kProtocols + 7).isEmpty());
  EXPECT_TRUE(Deliver(main, kProtocols, kDeleteWindow + 1).isEmpty());
  EXPECT_TRUE(Deliver(main, kProtocols, kDeleteWindow, 8).isEmpty());
  xcb_generic_event_t keyPress{};
  keyPress.response_type = XCB_KEY_PRESS;
  EXPECT_FALSE(watch.nativeEventFilter("xcb_generic_event_t", &keyPress, nullptr));
  EXPECT_TRUE(handed.isEmpty());
}

TEST_F(BlockedCloseWatchTest, AWindowModalWindowBlocksOnlyTheWindowItBelongsTo) {
  QDialog box(&main);
  box.setWindowModality(Qt::WindowModal);
  box.show();
  ASSERT_TRUE(WaitFor([&] { return QGuiApplication::modalWindow() != nullptr; }));
  EXPECT_EQ(Deliver(main), QList<QWindow*>{main.windowHandle()});
  EXPECT_TRUE(Deliver(other).isEmpty());
}

}  // namespace
