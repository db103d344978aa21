// The reference login server: the server side of the launcher's protocol on 127.0.0.1, one
// thread per connection, with misbehaviour on demand for tests. Used by the demo (through
// the KQLoginServer program) and in-process by the native session tests.
#pragma once

#include "ServerConfig.h"

#include "common/Bytes.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kq::loginserver {

// One request as the server received it.
struct ReceivedRequest {
  int Connection = 0;  // numbered from 1 in the order of acceptance
  Bytes Frame;
  std::optional<Request> Kind;  // none for a frame of an unknown type
  // A login request's fields, unscrambled: code-page bytes up to the first zero.
  std::string Login;
  std::string Password;
  KeyPair KeysUsed = KeyPair::Auto;  // Designated or Other for a login request
};

// The frames the server sends, built from its configuration. Public for the tests.
Bytes HelloReplyFrame(const ServerConfig& config);
Bytes LoginResultFrame(std::uint8_t result, std::uint32_t accountID, std::uint32_t premium);
Bytes WorldListFrame(const ServerConfig& config);
Bytes WorldServerDataFrame(const ServerConfig& config);

class LoginServer {
 public:
  // Takes the log lines, one call per line, from any of the server's threads, one at a time.
  using LogSink = std::function<void(const std::string& line)>;

  // Log lines go to `log` (standard error when empty) when the configuration asks for them.
  explicit LoginServer(ServerConfig config, LogSink log = {});
  ~LoginServer();
  LoginServer(const LoginServer&) = delete;
  LoginServer& operator=(const LoginServer&) = delete;

  // Listens on 127.0.0.1 and starts accepting; on failure returns the reason.
  std::optional<std::string> Start();
  std::uint16_t Port() const { return port_; }
  // Closes every connection and waits for their threads.
  void Stop();

  // Changes the misbehaviour for requests that arrive from now on.
  void SetFault(Request request, Fault fault);

  std::vector<ReceivedRequest> Received() const;
  int ConnectionsAccepted() const { return accepted_.load(); }
  int ConnectionsOpen() const { return open_.load(); }

 private:
  struct Connection {
    int id = 0;
    int fd = -1;
    std::thread thread;
    std::atomic<bool> done{false};
  };

  void AcceptLoop();
  void Serve(Connection& connection);
  // Handles one request frame; false when the connection is to be dropped.
  bool Answer(Connection& connection, ByteView frame, Bytes& lastResponse);
  Bytes LoginAnswer(ByteView frame, ReceivedRequest& record) const;
  // Sleeps, but returns early (false) when the server stops.
  bool Pause(std::uint32_t ms);
  void Log(const std::string& line);

  const ServerConfig config_;
  const LogSink log_;
  std::mutex logMutex_;

  int listenFd_ = -1;
  int wakePipe_[2] = {-1, -1};
  std::uint16_t port_ = 0;
  std::thread acceptThread_;

  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  std::atomic<int> open_{0};

  mutable std::mutex mutex_;  // guards everything below
  std::condition_variable stopped_;
  std::list<Connection> connections_;
  std::vector<ReceivedRequest> received_;
  std::array<Fault, kRequestCount> faults_;
};

}  // namespace kq::loginserver
