// An operation that waits on the one event loop instead of inside it. A function returning
// Task<T> is a coroutine: it runs at once, up to its first wait, and the caller co_awaits the
// task for its result or its exception. Between the waits other handlers run at the top of the
// event loop, never inside the operation.
//
// Destroying a task that is still waiting ends it where it waits: the destructors of its frame
// run (and with them the tasks and timers it waits on), and nothing of it runs again. That is
// how an operation the user no longer wants (a close) is stopped.
//
// Debian 12's compiler builds code that crashes where a co_await stands in a condition or in an
// operand of ?: (`if (!co_await Ask())`): every await is a statement of its own, or the whole
// right-hand side of an assignment or a co_return.
#pragma once

#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

template <typename T = void>
class Task;

namespace task_detail {

struct PromiseBase {
  std::coroutine_handle<> continuation;
  std::exception_ptr error;

  std::suspend_never initial_suspend() noexcept { return {}; }

  // The frame stays until its task is destroyed, so a finished task can still hand over its
  // result; the awaiting operation, if any, goes on at once.
  struct FinalAwaiter {
    bool await_ready() noexcept { return false; }
    template <typename Promise>
    std::coroutine_handle<> await_suspend(std::coroutine_handle<Promise> self) noexcept {
      const std::coroutine_handle<> next = self.promise().continuation;
      return next ? next : std::noop_coroutine();
    }
    void await_resume() noexcept {}
  };
  FinalAwaiter final_suspend() noexcept { return {}; }
  void unhandled_exception() noexcept { error = std::current_exception(); }
};

template <typename T>
struct Promise : PromiseBase {
  std::optional<T> value;
  Task<T> get_return_object();
  template <typename U>
  void return_value(U&& result) {
    value.emplace(std::forward<U>(result));
  }
  T TakeResult() {
    if (error) std::rethrow_exception(error);
    return std::move(*value);
  }
};

template <>
struct Promise<void> : PromiseBase {
  Task<void> get_return_object();
  void return_void() noexcept {}
  void TakeResult() const {
    if (error) std::rethrow_exception(error);
  }
};

}  // namespace task_detail

template <typename T>
class [[nodiscard]] Task {
 public:
  using promise_type = task_detail::Promise<T>;
  using Handle = std::coroutine_handle<promise_type>;

  Task() = default;
  Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
  Task& operator=(Task&& other) noexcept {
    if (this != &other) {
      End();
      handle_ = std::exchange(other.handle_, {});
    }
    return *this;
  }
  Task(const Task&) = delete;
  Task& operator=(const Task&) = delete;
  ~Task() { End(); }

  // True once the operation has returned or raised (and for a task that holds none).
  bool Done() const { return !handle_ || handle_.done(); }

  // The result of a finished operation; what it raised is raised here. Taken once.
  T Result() { return handle_.promise().TakeResult(); }

  // Ends a waiting operation where it waits; nothing when it has finished.
  void End() {
    if (handle_) std::exchange(handle_, {}).destroy();
  }

  auto operator co_await() && noexcept {
    struct Awaiter {
      Handle handle;
      bool await_ready() const noexcept { return handle.done(); }
      void await_suspend(std::coroutine_handle<> waiting) noexcept {
        handle.promise().continuation = waiting;
      }
      T await_resume() { return handle.promise().TakeResult(); }
    };
    return Awaiter{handle_};
  }

 private:
  friend struct task_detail::Promise<T>;
  explicit Task(Handle handle) : handle_(handle) {}

  Handle handle_;
};

template <typename T>
Task<T> task_detail::Promise<T>::get_return_object() {
  return Task<T>(Task<T>::Handle::from_promise(*this));
}

inline Task<void> task_detail::Promise<void>::get_return_object() {
  return Task<void>(Task<void>::Handle::from_promise(*this));
}
