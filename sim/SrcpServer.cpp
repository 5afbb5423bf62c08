#include "SrcpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <optional>
#include <sstream>
#include <system_error>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPowerBus = 1;
constexpr int kAccessoryBus = 6;
constexpr int kFeedbackBus = 8;
// A client line longer than this without a line end is garbage; it is dropped, not kept.
constexpr std::size_t kLongestLine = 4096;
constexpr std::size_t kFloodChunk = 16 * 1024;

// Data for a test blocked in its event loop: an empty queued call makes its wait look again.
void WakeWaitingThread() {
  if (auto* app = QCoreApplication::instance())
    QMetaObject::invokeMethod(
        app, [] {}, Qt::QueuedConnection);
}

std::string TimeStamp() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld", static_cast<long long>(millis / 1000),
                static_cast<long long>(millis % 1000));
  return text;
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  return words;
}

std::optional<int> Number(const std::string& word) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

}  // namespace

struct SrcpServer::Connection {
  int fd;
  std::string input;
  std::string output;
  std::string requestedMode = "COMMAND";
  bool inSession = false;
  bool commandSession = false;
  // Read by the callers, under the server's mutex.
  std::vector<std::string> lines;
  std::string mode;
  bool closed = false;
};

struct SrcpServer::Scheduled {
  Clock::time_point due;
  Connection* target;  // nullptr: every information session
  std::string message;
};

SrcpServer::SrcpServer(std::string greeting, int port)
    : greeting_(std::move(greeting)), powerPerBus_(greeting_.find("DDW") == std::string::npos) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener_ < 0) throw std::system_error(errno, std::generic_category(), "SRCP server");
  const int on = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 8) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      ::pipe2(wakePipe_, O_NONBLOCK | O_CLOEXEC) != 0) {
    const int error = errno;
    for (int fd : {listener_, wakePipe_[0], wakePipe_[1]})
      if (fd >= 0) ::close(fd);
    throw std::system_error(error, std::generic_category(),
                            "SRCP server: cannot listen on port " + std::to_string(port));
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

SrcpServer::~SrcpServer() {
  stopping_ = true;
  Wake();
  thread_.join();
  for (Connection* connection : open_) ::close(connection->fd);
  for (int fd : {listener_, wakePipe_[0], wakePipe_[1]}) ::close(fd);
}

void SrcpServer::SetWithoutAccessoryBus(bool without) {
  withoutAccessoryBus_ = without;
}

void SrcpServer::SetFlood(bool on) {
  flood_ = on;
  Wake();
}

void SrcpServer::ResetConnections() {
  resetConnections_ = true;
  Wake();
}

void SrcpServer::SetOmitLineEnds(bool on) {
  omitLineEnds_ = on;
}

void SrcpServer::SetReplyDelay(std::chrono::milliseconds delay) {
  replyDelayMs_ = static_cast<int>(delay.count());
}

void SrcpServer::SetReportDelay(std::chrono::milliseconds delay) {
  reportDelayMs_ = static_cast<int>(delay.count());
}

void SrcpServer::CloseOnLine(std::string prefix) {
  std::lock_guard lock(mutex_);
  closePrefix_ = std::move(prefix);
}

int SrcpServer::ConnectionCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(all_.size());
}

std::vector<std::string> SrcpServer::ReceivedLines(int connection) const {
  std::lock_guard lock(mutex_);
  if (connection < 0 || connection >= static_cast<int>(all_.size())) return {};
  return all_[connection]->lines;
}

bool SrcpServer::ConnectionClosed(int connection) const {
  std::lock_guard lock(mutex_);
  return connection >= 0 && connection < static_cast<int>(all_.size()) && all_[connection]->closed;
}

std::string SrcpServer::SessionMode(int connection) const {
  std::lock_guard lock(mutex_);
  if (connection < 0 || connection >= static_cast<int>(all_.size())) return {};
  return all_[connection]->mode;
}

void SrcpServer::Wake() {
  const char signal = 0;
  [[maybe_unused]] auto written = ::write(wakePipe_[1], &signal, 1);
}

void SrcpServer::CutPower() {
  cutPower_ = true;
  Wake();
}

void SrcpServer::CutPowerAfterAccessoryCommands(int n) {
  accessoryCommandsBeforePowerCut_ = n;
}

void SrcpServer::CutPowerNow() {
  const int bus = powerPerBus_ ? kAccessoryBus : kPowerBus;
  power_[bus] = false;
  BroadcastInfo("100 INFO " + std::to_string(bus) + " POWER OFF");
}

void SrcpServer::Serve() {
  while (!stopping_) {
    if (cutPower_.exchange(false)) CutPowerNow();
    if (resetConnections_.exchange(false)) {
      for (Connection* connection : std::vector<Connection*>(open_)) {
        // Closed with a zero linger, a connection ends with a reset instead of its end.
        const linger abort{1, 0};
        ::setsockopt(connection->fd, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        Drop(*connection);
      }
    }
    std::vector<pollfd> fds = {{wakePipe_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
    const std::vector<Connection*> polled = open_;
    for (Connection* connection : polled) {
      if (flood_ && connection->output.empty()) Flood(*connection);
      const short events = POLLIN | (connection->output.empty() ? 0 : POLLOUT);
      fds.push_back({connection->fd, events, 0});
    }
    if (::poll(fds.data(), fds.size(), NextTimeoutMs()) < 0 && errno != EINTR) return;
    if (fds[0].revents != 0) {
      char drained[64];
      while (::read(wakePipe_[0], drained, sizeof drained) > 0) {
      }
    }
    if (fds[1].revents != 0) Accept();
    for (std::size_t i = 0; i < polled.size(); ++i) {
      Connection& connection = *polled[i];
      const short revents = fds[i + 2].revents;
      if (connection.fd >= 0 && (revents & (POLLIN | POLLHUP | POLLERR))) Receive(connection);
      if (connection.fd >= 0 && (revents & POLLOUT)) Transmit(connection);
    }
    ReleaseDue();
  }
}

void SrcpServer::Accept() {
  const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd < 0) return;
  auto connection = std::make_unique<Connection>();
  connection->fd = fd;
  connection->output = greeting_ + (omitLineEnds_ ? "" : "\n");
  open_.push_back(connection.get());
  {
    std::lock_guard lock(mutex_);
    all_.push_back(std::move(connection));
  }
  WakeWaitingThread();
}

void SrcpServer::Receive(Connection& connection) {
  char buffer[4096];
  const ssize_t n = ::recv(connection.fd, buffer, sizeof buffer, 0);
  if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
    Drop(connection);
    return;
  }
  if (n < 0) return;
  connection.input.append(buffer, static_cast<std::size_t>(n));
  std::size_t end;
  while (connection.fd >= 0 && (end = connection.input.find('\n')) != std::string::npos) {
    const std::string line = connection.input.substr(0, end + 1);
    connection.input.erase(0, end + 1);
    Execute(connection, line);
  }
  if (connection.input.size() > kLongestLine) connection.input.clear();
}

void SrcpServer::Transmit(Connection& connection) {
  const ssize_t n = ::send(connection.fd, connection.output.data(), connection.output.size(),
                           MSG_NOSIGNAL | MSG_DONTWAIT);
  if (n > 0)
    connection.output.erase(0, static_cast<std::size_t>(n));
  else if (n < 0 && errno != EAGAIN && errno != EINTR)
    Drop(connection);
}

void SrcpServer::Execute(Connection& connection, const std::string& line) {
  std::string closePrefix;
  {
    std::lock_guard lock(mutex_);
    connection.lines.push_back(line);
    closePrefix = closePrefix_;
  }
  WakeWaitingThread();
  if (!closePrefix.empty() && line.starts_with(closePrefix)) {
    Drop(connection);
    return;
  }
  const std::vector<std::string> words = Words(line);
  if (!connection.inSession)
    ExecuteHandshake(connection, words);
  else if (connection.commandSession)
    ExecuteCommand(connection, words);
  // An information session only listens.
}

void SrcpServer::ExecuteHandshake(Connection& connection, const std::vector<std::string>& words) {
  const auto is = [&](std::initializer_list<const char*> expected) {
    return words.size() >= expected.size() &&
           std::equal(expected.begin(), expected.end(), words.begin());
  };
  if (is({"SET", "PROTOCOL"})) {
    Reply(connection, words.size() == 4 && words[2] == "SRCP" ? "201 OK PROTOCOL SRCP"
                                                              : "400 ERROR unsupported protocol");
  } else if (is({"SET", "CONNECTIONMODE", "SRCP"}) && words.size() == 4 &&
             (words[3] == "INFO" || words[3] == "COMMAND")) {
    connection.requestedMode = words[3];
    Reply(connection, "202 OK CONNECTIONMODE");
  } else if (is({"SET", "CONNECTIONMODE"})) {
    Reply(connection, "401 ERROR unsupported connection mode");
  } else if (words.size() == 1 && words[0] == "GO") {
    connection.inSession = true;
    connection.commandSession = connection.requestedMode == "COMMAND";
    {
      std::lock_guard lock(mutex_);
      connection.mode = connection.requestedMode;
    }
    Reply(connection, "200 OK GO " + std::to_string(++sessions_));
    if (!connection.commandSession)
      for (int bus : Buses())
        Schedule(connection, std::chrono::milliseconds(reportDelayMs_.load()),
                 "100 INFO " + std::to_string(bus) + " POWER " + (power_[bus] ? "ON" : "OFF"));
  } else {
    Reply(connection, "410 ERROR unknown command");
  }
}

void SrcpServer::ExecuteCommand(Connection& connection, const std::vector<std::string>& words) {
  if (words == std::vector<std::string>{"TERM", "0", "SESSION"}) {
    Drop(connection);
    return;
  }
  const bool get = powerPerBus_ && !words.empty() && words[0] == "GET";
  if (words.empty() || (words[0] != "SET" && words[0] != "INIT" && !get)) {
    Reply(connection, "410 ERROR unknown command");
    return;
  }
  if (words.size() < 3) {
    Reply(connection, "419 ERROR list too short");
    return;
  }
  const std::optional<int> bus = Number(words[1]);
  if (!bus || !IsBus(*bus)) {
    Reply(connection, "412 ERROR wrong value");
    return;
  }
  Reply(connection, get                 ? ExecuteGet(words)
                    : words[0] == "SET" ? ExecuteSet(words)
                                        : ExecuteInit(words));
}

std::vector<int> SrcpServer::Buses() const {
  if (withoutAccessoryBus_) return {kPowerBus, kFeedbackBus};
  return {kPowerBus, kAccessoryBus, kFeedbackBus};
}

bool SrcpServer::IsBus(int bus) const {
  const std::vector<int> buses = Buses();
  return std::find(buses.begin(), buses.end(), bus) != buses.end();
}

std::string SrcpServer::ExecuteSet(const std::vector<std::string>& words) {
  const int bus = *Number(words[1]);
  const std::string& group = words[2];
  if (group == "POWER") {
    if (words.size() != 4 || (words[3] != "ON" && words[3] != "OFF"))
      return "412 ERROR wrong value";
    power_[bus] = words[3] == "ON";
    BroadcastInfo("100 INFO " + words[1] + " POWER " + words[3]);
    if (powerPerBus_ && bus == kAccessoryBus && power_[bus]) {
      for (const std::vector<std::string>& held : std::exchange(held_, {})) SwitchAccessory(held);
    }
    return "200 OK";
  }
  if (group != "GA" || bus != kAccessoryBus) return "421 ERROR unsupported device group";
  std::string reply = ExecuteSetAccessory(words);
  // A planned short comes once the command has gone out.
  int left = accessoryCommandsBeforePowerCut_;
  if (reply == "200 OK" && left > 0 &&
      accessoryCommandsBeforePowerCut_.compare_exchange_strong(left, left - 1) && left == 1)
    CutPowerNow();
  return reply;
}

std::string SrcpServer::ExecuteSetAccessory(const std::vector<std::string>& words) {
  if (words.size() < 7) return "419 ERROR list too short";
  if (words.size() > 7) return "418 ERROR list too long";
  const auto address = Number(words[3]), port = Number(words[4]), value = Number(words[5]),
             delay = Number(words[6]);
  if (!address || !port || !value || !delay || *port < 0 || *port > 1 || *value < 0 || *value > 1)
    return "412 ERROR wrong value";
  if (powerPerBus_) {
    if (power_[kAccessoryBus])
      SwitchAccessory(words);
    else
      held_.push_back(words);
    return "200 OK";
  }
  if (std::find(initialisedAccessories_.begin(), initialisedAccessories_.end(), *address) ==
      initialisedAccessories_.end())
    return "416 ERROR no data";
  SwitchAccessory(words);
  return "200 OK";
}

// words: a checked "SET 6 GA address port value delay". The report gives the numbers as the
// server holds them, however the client wrote them ("07" is reported as 7).
void SrcpServer::SwitchAccessory(const std::vector<std::string>& words) {
  const int address = *Number(words[3]), port = *Number(words[4]), value = *Number(words[5]),
            delay = *Number(words[6]);
  const std::string output =
      "100 INFO 6 GA " + std::to_string(address) + " " + std::to_string(port) + " ";
  BroadcastInfo(output + std::to_string(value));
  const bool switchedOff = value == 1 && delay > 0;
  // GET tells the state the output settles in.
  accessoryState_[{address, port}] = switchedOff ? 0 : value;
  if (switchedOff)
    scheduled_.push_back({Clock::now() + std::chrono::milliseconds(delay), nullptr, output + "0"});
}

std::string SrcpServer::ExecuteGet(const std::vector<std::string>& words) {
  const int bus = *Number(words[1]);
  if (words[2] == "POWER") return "100 INFO " + words[1] + " POWER " + (power_[bus] ? "ON" : "OFF");
  if (words[2] != "GA" || bus != kAccessoryBus) return "421 ERROR unsupported device group";
  if (words.size() != 5)
    return words.size() < 5 ? "419 ERROR list too short" : "418 ERROR list too long";
  const auto address = Number(words[3]), port = Number(words[4]);
  if (!address || !port) return "412 ERROR wrong value";
  const auto state = accessoryState_.find({*address, *port});
  if (state == accessoryState_.end()) return "416 ERROR no data";
  return "100 INFO 6 GA " + std::to_string(*address) + " " + std::to_string(*port) + " " +
         std::to_string(state->second);
}

std::string SrcpServer::ExecuteInit(const std::vector<std::string>& words) {
  const int bus = *Number(words[1]);
  const std::string& group = words[2];
  if (group == "POWER") return words.size() == 3 ? "200 OK" : "418 ERROR list too long";
  if (group == "FB") return bus == kFeedbackBus ? "200 OK" : "421 ERROR unsupported device group";
  if (group != "GA" || bus != kAccessoryBus) return "421 ERROR unsupported device group";
  if (words.size() < 5) return "419 ERROR list too short";
  if (words.size() > 5) return "418 ERROR list too long";
  const std::optional<int> address = Number(words[3]);
  if (!address || *address < 1 || (words[4] != "N" && words[4] != "M"))
    return "412 ERROR wrong value";
  if (std::find(initialisedAccessories_.begin(), initialisedAccessories_.end(), *address) ==
      initialisedAccessories_.end())
    initialisedAccessories_.push_back(*address);
  BroadcastInfo("101 INFO 6 GA " + std::to_string(*address) + " " + words[4]);
  return "200 OK";
}

void SrcpServer::Reply(Connection& connection, const std::string& message) {
  Schedule(connection,
           std::chrono::milliseconds(connection.commandSession ? replyDelayMs_.load() : 0),
           message);
}

void SrcpServer::Schedule(Connection& connection, std::chrono::milliseconds delay,
                          std::string message) {
  if (delay.count() > 0)
    scheduled_.push_back({Clock::now() + delay, &connection, std::move(message)});
  else
    connection.output += Line(message);
}

void SrcpServer::BroadcastInfo(const std::string& message) {
  for (Connection* connection : open_)
    if (connection->inSession && !connection->commandSession) connection->output += Line(message);
}

void SrcpServer::ReleaseDue() {
  const auto now = Clock::now();
  std::vector<Scheduled> due;
  auto split = std::stable_partition(scheduled_.begin(), scheduled_.end(),
                                     [&](const Scheduled& item) { return item.due > now; });
  due.assign(std::make_move_iterator(split), std::make_move_iterator(scheduled_.end()));
  scheduled_.erase(split, scheduled_.end());
  for (const Scheduled& item : due) {
    if (item.target)
      item.target->output += Line(item.message);
    else
      BroadcastInfo(item.message);
  }
}

void SrcpServer::Flood(Connection& connection) {
  const std::string line = Line("100 INFO 8 FB 1 1");
  while (connection.output.size() < kFloodChunk) connection.output += line;
}

void SrcpServer::Drop(Connection& connection) {
  ::close(connection.fd);
  connection.fd = -1;
  std::erase(open_, &connection);
  std::erase_if(scheduled_, [&](const Scheduled& item) { return item.target == &connection; });
  {
    std::lock_guard lock(mutex_);
    connection.closed = true;
  }
  WakeWaitingThread();
}

std::string SrcpServer::Line(const std::string& message) const {
  return TimeStamp() + " " + message + (omitLineEnds_ ? "" : "\n");
}

int SrcpServer::NextTimeoutMs() const {
  if (scheduled_.empty()) return -1;
  auto next = scheduled_.front().due;
  for (const Scheduled& item : scheduled_) next = std::min(next, item.due);
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
  return static_cast<int>(std::max<long long>(left, 0));
}
