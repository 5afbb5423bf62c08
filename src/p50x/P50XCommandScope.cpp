#include "p50x/P50XCommandScope.h"

namespace {

class NestingLevel {
 public:
  explicit NestingLevel(int& nesting) : nesting_(nesting) { ++nesting_; }
  ~NestingLevel() { --nesting_; }
  NestingLevel(const NestingLevel&) = delete;
  NestingLevel& operator=(const NestingLevel&) = delete;
  bool Outermost() const { return nesting_ == 1; }

 private:
  int& nesting_;
};

}  // namespace

P50XCommandScope::Result P50XCommandScope::Run(const std::function<void()>& command) {
  if (Busy()) return Result::Refused;
  const NestingLevel level(nesting_);
  if (!level.Outermost()) {
    command();
    return Result::Done;
  }
  try {
    command();
    return Result::Done;
  } catch (const P50XNoReply&) {
    return Result::NoReply;
  } catch (const P50XCommandAbandoned&) {
    return Result::Abandoned;
  }
}

P50XCommandScope::EventWindow::EventWindow(P50XCommandScope& scope, bool waitsForLine,
                                           int expectedBytes, Clock::time_point deadline)
    : scope_(scope),
      savedNesting_(scope.nesting_),
      savedWaiting_(scope.waiting_),
      expectedBytes_(expectedBytes),
      deadline_(deadline) {
  scope_.nesting_ = 0;
  if (waitsForLine) scope_.waiting_ = this;
}

P50XCommandScope::EventWindow::~EventWindow() {
  scope_.nesting_ = savedNesting_;
  scope_.waiting_ = savedWaiting_;
}

P50XCommandScope::Takeover::Takeover(P50XCommandScope& scope)
    : scope_(scope), savedNesting_(scope.nesting_), givenUp_(scope.waiting_) {
  if (givenUp_) scope_.waiting_->abandoned_ = true;
  scope_.nesting_ = 0;
  scope_.waiting_ = nullptr;
}

P50XCommandScope::Takeover::~Takeover() {
  scope_.nesting_ = savedNesting_;
  scope_.waiting_ = givenUp_;
}
