#include "p50x/P50XCommandScope.h"

#include <utility>

P50XCommandScope::Turn::Turn(Turn&& other) noexcept
    : scope_(std::exchange(other.scope_, nullptr)), finished_(other.finished_) {}

P50XCommandScope::Turn::~Turn() {
  if (!scope_) return;
  if (!finished_) scope_->owed_ = scope_->reading_.value_or(OwedReply{0, Clock::now()});
  scope_->reading_.reset();
  scope_->busy_ = false;
  scope_->freed_.Notify();
}

Task<P50XCommandScope::Turn> P50XCommandScope::Take() {
  // Every waiter is woken when the line is freed; the first to run takes it, the others wait on.
  while (busy_) co_await freed_.Ever();
  busy_ = true;
  co_return Turn(*this);
}

std::optional<P50XCommandScope::OwedReply> P50XCommandScope::TakeOwed() {
  return std::exchange(owed_, std::nullopt);
}
