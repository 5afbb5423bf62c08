// The program's waits: an operation ended where it waits never runs again, a waiter wakes only
// once the handler that woke it has returned, and a dialog's answer leaves the window usable.
#include <gtest/gtest.h>

#include <QDialog>
#include <QWidget>

#include "platform/DialogAnswer.h"
#include "platform/Pause.h"
#include "platform/Wakeup.h"
#include "support/AwaitTask.h"

namespace {

Task<int> Doubled(int value, int pauseMs, std::vector<QString>& trace) {
  trace.push_back(QStringLiteral("before"));
  co_await Pause(pauseMs);
  trace.push_back(QStringLiteral("after"));
  co_return 2 * value;
}

TEST(Task, EndedWhereItWaitsItNeverRunsAgainAndLetsGoOfWhatItHeld) {
  std::vector<QString> trace;
  struct Held {
    bool& released;
    ~Held() { released = true; }
  };
  bool released = false;
  auto holding = [&]() -> Task<void> {
    const Held held{released};
    co_await Doubled(1, 30, trace);
    trace.push_back(QStringLiteral("went on"));
  };
  Task<void> task = holding();
  task.End();
  EXPECT_TRUE(released);
  EXPECT_TRUE(WaitFor([] { return false; }, 80) == false);
  EXPECT_EQ(trace, std::vector<QString>{QStringLiteral("before")});
}

TEST(Wakeup, WakesAfterTheNotifyingHandlerOrAtTheDeadline) {
  Wakeup wakeup;
  bool notifierReturned = false;
  bool wokeBeforeNotifierReturned = false;
  auto waiter = [&]() -> Task<bool> {
    const bool notified = co_await wakeup.For(std::chrono::seconds(5));
    wokeBeforeNotifierReturned = !notifierReturned;
    co_return notified;
  };
  Task<bool> waiting = waiter();
  QTimer::singleShot(5, [&] {
    wakeup.Notify();
    notifierReturned = true;
  });
  EXPECT_TRUE(Await(std::move(waiting)));
  EXPECT_FALSE(wokeBeforeNotifierReturned);

  auto timingOut = [&]() -> Task<bool> {
    co_return co_await wakeup.For(std::chrono::milliseconds(5));
  };
  EXPECT_FALSE(Await(timingOut()));
  // A waiter that is gone is not woken.
  Task<bool> ended = timingOut();
  ended.End();
  wakeup.Notify();
}

TEST(DialogAnswer, GivesTheAnswerWithoutBlockingTheWindowBehind) {
  QWidget window;
  window.show();
  QDialog dialog(&window);
  Task<int> answer = AnswerOf(dialog);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.isModal());
  QTimer::singleShot(0, &dialog, &QDialog::accept);
  EXPECT_EQ(Await(std::move(answer)), QDialog::Accepted);

  auto* deleted = new QDialog(&window);
  Task<int> unanswered = AnswerOf(*deleted);
  QTimer::singleShot(0, deleted, [deleted] { delete deleted; });
  EXPECT_EQ(Await(std::move(unanswered)), QDialog::Rejected);
}

}  // namespace
