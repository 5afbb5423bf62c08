// An SRCP 0.8 server on the loopback interface, standing in for the command station of the
// "SRCP 0.8" central type. It greets, takes the handshake, runs command and information
// sessions on a power bus (1), a bus with generic accessories (6) and a feedback bus (8),
// answers with time-stamped lines ending in a bare LF, and records every line a client sends.
// It can also misbehave the ways a broken server does: flood, leave out line ends, drop a
// connection in the middle of a run, answer late.
//
// It speaks as one of two kinds of server, told apart by the greeting. A DDW server (greeting
// with "DDW") has one power switch, and an accessory must be initialised before its first SET
// ("416 ERROR no data" until then). Any other greeting gets a server as a current SRCP server
// on Linux behaves: a power switch per bus, every bus starting without power; a generic
// accessory needs no INIT; a SET for an unpowered bus is answered "200 OK" but held, reported
// nowhere and unknown to GET, until that bus is switched on, when every held command goes out.
// Either kind reports an accessory by its numbers, not by the text the client sent.
//
// The server runs on a thread of its own with plain sockets, so it works while the test's
// thread is blocked in a wait; it only posts an empty event to the application so that such a
// wait re-examines what it is waiting for.
#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class SrcpServer {
 public:
  static constexpr int kDefaultPort = 4303;

  // Greetings as the program meets them: two of the servers it was made for, and a current
  // server on Linux, which names only the protocol.
  static constexpr const char* kDdw08Greeting = "DDW V 0.8.3; SRCP 0.8.2";
  static constexpr const char* kDdw07Greeting = "DDW V 0.7.5; SRCP 0.7.3";
  static constexpr const char* kSrcpdGreeting = "srcpd V2.1.3; SRCP 0.8.4; SRCPOTHER 0.8.3";

  // Listens on 127.0.0.1:port (0: a port of the system's choosing) and starts serving.
  // Throws std::system_error when the port cannot be had (EADDRINUSE: another server has it).
  explicit SrcpServer(std::string greeting, int port = kDefaultPort);
  ~SrcpServer();
  SrcpServer(const SrcpServer&) = delete;
  SrcpServer& operator=(const SrcpServer&) = delete;

  int Port() const { return port_; }

  // Misbehaviour; safe from any thread, effective for what is sent from then on.
  // Leaves out the accessory bus (6): its commands get "412 ERROR wrong value", and the
  // information session reports no power for it. Takes effect for sessions started from then on.
  void SetWithoutAccessoryBus(bool without);
  // Sends info lines to every connection as fast as it takes them.
  void SetFlood(bool on);
  // Leaves the LF off the greeting, the replies and the flood.
  void SetOmitLineEnds(bool on);
  // Holds back every reply of a command session by this long.
  void SetReplyDelay(std::chrono::milliseconds delay);
  // Holds back the power reports an information session starts with by this long, as a busy or
  // remote server does.
  void SetReportDelay(std::chrono::milliseconds delay);
  // Breaks every open connection with a reset, as a server that crashed or a network that
  // failed does.
  void ResetConnections();
  // A connection that sends a line starting with prefix is closed at once, without a reply.
  void CloseOnLine(std::string prefix);
  // The power the accessories need (bus 1 on a DDW server, bus 6 on one with a switch per bus)
  // goes off now, or once n more accessory commands have been carried out (a short in the
  // middle of a run), and the information sessions are told so.
  void CutPower();
  void CutPowerAfterAccessoryCommands(int n);

  // What the clients did, per connection in the order they were accepted; safe from any thread.
  int ConnectionCount() const;
  // Every complete line the client sent, with its line end as it came.
  std::vector<std::string> ReceivedLines(int connection) const;
  bool ConnectionClosed(int connection) const;
  // "COMMAND" or "INFO" once the connection has sent GO, else empty.
  std::string SessionMode(int connection) const;

 private:
  struct Connection;
  struct Scheduled;

  void Serve();
  void Accept();
  void Receive(Connection& connection);
  void Transmit(Connection& connection);
  void Execute(Connection& connection, const std::string& line);
  void ExecuteHandshake(Connection& connection, const std::vector<std::string>& words);
  void ExecuteCommand(Connection& connection, const std::vector<std::string>& words);
  std::string ExecuteSet(const std::vector<std::string>& words);
  std::string ExecuteSetAccessory(const std::vector<std::string>& words);
  std::string ExecuteInit(const std::vector<std::string>& words);
  std::string ExecuteGet(const std::vector<std::string>& words);
  void SwitchAccessory(const std::vector<std::string>& words);
  std::vector<int> Buses() const;
  bool IsBus(int bus) const;
  void Reply(Connection& connection, const std::string& message);
  void BroadcastInfo(const std::string& message);
  void Schedule(Connection& connection, std::chrono::milliseconds delay, std::string message);
  void ReleaseDue();
  void Flood(Connection& connection);
  void CutPowerNow();
  void Drop(Connection& connection);
  std::string Line(const std::string& message) const;
  int NextTimeoutMs() const;
  void Wake();

  std::string greeting_;
  int port_ = 0;
  int listener_ = -1;
  int wakePipe_[2] = {-1, -1};

  const bool powerPerBus_;
  std::atomic<bool> withoutAccessoryBus_{false};
  std::atomic<bool> flood_{false};
  std::atomic<bool> resetConnections_{false};
  std::atomic<bool> omitLineEnds_{false};
  std::atomic<int> replyDelayMs_{0};
  std::atomic<int> reportDelayMs_{0};
  std::atomic<bool> stopping_{false};
  std::atomic<bool> cutPower_{false};
  std::atomic<int> accessoryCommandsBeforePowerCut_{-1};  // -1: none planned

  // Owned by the server thread.
  std::vector<Connection*> open_;
  std::vector<Scheduled> scheduled_;
  bool power_[9] = {};
  std::vector<int> initialisedAccessories_;
  // Per-bus power: SETs of the accessory bus waiting for its power, and each output's state.
  std::vector<std::vector<std::string>> held_;
  std::map<std::pair<int, int>, int> accessoryState_;
  int sessions_ = 0;

  // Shared with the callers.
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<Connection>> all_;
  std::string closePrefix_;

  std::thread thread_;
};
