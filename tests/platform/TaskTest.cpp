// The program's waits: an operation suspends on the event loop, other handlers run between its
// steps and never inside them, and an operation ended where it waits never runs again.
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

Task<int> Failing() {
  co_await Pause(0);
  throw std::runtime_error("line gone");
}

Task<int> Outer(std::vector<QString>& trace) {
  const int first = co_await Doubled(1, 1, trace);
  try {
    co_await Failing();
  } catch (const std::runtime_error& error) {
    trace.push_back(QString::fromLatin1(error.what()));
  }
  const int second = co_await Doubled(2, 0, trace);
  co_return first + second;
}

TEST(Task, SuspendsOnTheEventLoopAndHandsOverResultsAndErrors) {
  std::vector<QString> trace;
  bool otherHandlerRan = false;
  QTimer::singleShot(0, [&] {
    otherHandlerRan = true;
    trace.push_back(QStringLiteral("handler"));
  });
  Task<int> task = Outer(trace);
  // Started at once, up to its first wait, and not further.
  EXPECT_EQ(trace, std::vector<QString>{QStringLiteral("before")});
  EXPECT_FALSE(task.Done());
  EXPECT_EQ(Await(std::move(task)), 6);
  EXPECT_TRUE(otherHandlerRan);
  EXPECT_EQ(trace,
            (std::vector<QString>{"before", "handler", "after", "line gone", "before", "after"}));
  EXPECT_THROW(Await(Failing()), std::runtime_error);
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
