#include "LoginServer.h"

#include "common/CodePage.h"
#include "common/Utf8.h"
#include "session/FrameAssembler.h"
#include "session/Packets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace kq::loginserver {
namespace {

// Beyond this many open connections a new one is closed at once: each takes a thread and a
// descriptor, so the bound stays below the descriptor limit, with room for the rest.
constexpr int kMaxOpenConnections = 4096;
constexpr rlim_t kSpareDescriptors = 32;

int OpenConnectionBound() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return kMaxOpenConnections;
  }
  const rlim_t room = limit.rlim_cur > kSpareDescriptors ? limit.rlim_cur - kSpareDescriptors : 1;
  return static_cast<int>(std::min<rlim_t>(room, kMaxOpenConnections));
}
constexpr std::uint32_t kSplitPauseMs = 50;
constexpr std::uint8_t kDecoyByte = 0xEE;
constexpr std::uint8_t kUnknownCode = 0x7E;
constexpr std::size_t kLoginRequestSize = 31;

std::string Hex(ByteView bytes) {
  std::string out;
  char two[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(two, sizeof two, i ? " %02X" : "%02X", bytes[i]);
    out += two;
  }
  return out;
}

// The launcher's code page for the texts it sends and shows.
std::string ToLauncherBytes(const std::string& utf8) {
  return Cp1251Codec().ToAnsi(Utf8ToUtf16(AsBytes(utf8)));
}

// A login field as the launcher filled it: the first 13 bytes of the text.
std::string FieldText(const std::string& utf8) {
  return ToLauncherBytes(utf8).substr(0, kLoginFieldSize);
}

std::string Unscramble(ByteView field, SessionKeys keys) {
  std::string out;
  for (std::uint8_t b : field) {
    const auto plain = static_cast<std::uint8_t>((b ^ keys.XorKey) - keys.AddKey);
    if (plain == 0) break;
    out += static_cast<char>(plain);
  }
  return out;
}

SessionKeys KeysOf(const ServerConfig& config, KeyPair pair) {
  const KeyConstants& k = pair == KeyPair::Other ? kOtherKeyConstants : kDesignatedKeyConstants;
  return {static_cast<std::uint8_t>(config.AddBase + k.Add),
          static_cast<std::uint8_t>(config.XorBase + k.Xor)};
}

const Account* FindAccount(const ServerConfig& config, const std::string& login) {
  for (const Account& a : config.Accounts) {
    if (FieldText(a.Login) == login) return &a;
  }
  return nullptr;
}

// A decoy of a response: its length and type kept, 0xEE wherever it has payload.
Bytes Poisoned(const Bytes& response) {
  Bytes decoy = response;
  std::fill(decoy.begin() + 4, decoy.end(), kDecoyByte);
  return decoy;
}

void SetLength(Bytes& frame) {
  frame[0] = static_cast<std::uint8_t>(frame.size());
  frame[1] = static_cast<std::uint8_t>(frame.size() >> 8);
}

void SendAll(int fd, ByteView bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return;
    bytes = bytes.subspan(static_cast<std::size_t>(sent));
  }
}

}  // namespace

Bytes HelloReplyFrame(const ServerConfig& config) {
  const std::uint8_t payload[] = {config.AddBase, config.XorBase};
  return BuildFrame(0x0D, payload);
}

Bytes LoginResultFrame(std::uint8_t result, std::uint32_t accountID, std::uint32_t premium) {
  Bytes payload;
  ByteWriter w(payload);
  w.U8(result);
  w.U32(accountID);
  w.U32(premium);
  return BuildFrame(0x04, payload);
}

Bytes WorldListFrame(const ServerConfig& config) {
  Bytes payload(57, 0);  // result, 3 unused, open, 1 unused, 51 bytes of name
  payload[0] = config.WorldResult;
  payload[4] = config.WorldOpen ? 1 : 0;
  const std::string name = ToLauncherBytes(config.WorldName).substr(0, 51);
  std::copy(name.begin(), name.end(), payload.begin() + 6);
  return BuildFrame(0x06, payload);
}

Bytes WorldServerDataFrame(const ServerConfig& config) {
  Bytes payload;
  ByteWriter w(payload);
  w.U8(0);
  w.Append(config.WorldServerAddress);  // the address bytes as they stand in the text
  w.U16(config.WorldServerPort);
  for (std::uint32_t key : config.WorldServerKeys) w.U32(key);
  return BuildFrame(0x08, payload);
}

LoginServer::LoginServer(ServerConfig config, LogSink log)
    : config_(std::move(config)), log_(std::move(log)), faults_(config_.Faults) {}

LoginServer::~LoginServer() {
  Stop();
}

void LoginServer::Log(const std::string& line) {
  if (!config_.LogHex) return;
  const std::lock_guard lock(logMutex_);
  if (log_) {
    log_(line);
  } else {
    std::cerr << line << std::endl;
  }
}

std::optional<std::string> LoginServer::Start() {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) return "socket failed";
  const int yes = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  at.sin_port = htons(config_.Port);
  socklen_t size = sizeof at;
  if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 ||
      ::listen(listenFd_, kMaxOpenConnections) != 0 ||
      ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&at), &size) != 0) {
    return "cannot listen on 127.0.0.1:" + std::to_string(config_.Port);
  }
  port_ = ntohs(at.sin_port);
  if (::pipe2(wakePipe_, O_CLOEXEC) != 0) return "pipe failed";

  if (!config_.PortFile.empty()) {
    // Whole or not at all: a script polling for the file never reads half a number.
    const std::string partial = config_.PortFile + ".partial";
    std::ofstream(partial) << port_ << '\n';
    if (std::rename(partial.c_str(), config_.PortFile.c_str()) != 0) {
      return "cannot write " + config_.PortFile;
    }
  }
  acceptThread_ = std::thread([this] { AcceptLoop(); });
  Log("listening on 127.0.0.1:" + std::to_string(port_));
  return std::nullopt;
}

void LoginServer::Stop() {
  if (stopping_.exchange(true)) return;
  if (wakePipe_[1] >= 0) {
    const char byte = 0;
    [[maybe_unused]] const auto n = ::write(wakePipe_[1], &byte, 1);
  }
  if (acceptThread_.joinable()) acceptThread_.join();
  {
    // Under the lock, so that no Pause misses the wake-up between its check and its sleep.
    const std::lock_guard lock(mutex_);
    for (Connection& c : connections_) {
      if (c.fd >= 0) ::shutdown(c.fd, SHUT_RDWR);
    }
    stopped_.notify_all();
  }
  // No thread adds connections any more.
  for (Connection& c : connections_) c.thread.join();
  connections_.clear();
  for (int fd : {listenFd_, wakePipe_[0], wakePipe_[1]}) {
    if (fd >= 0) ::close(fd);
  }
  listenFd_ = wakePipe_[0] = wakePipe_[1] = -1;
}

void LoginServer::SetFault(Request request, Fault fault) {
  const std::lock_guard lock(mutex_);
  faults_[static_cast<std::size_t>(request)] = fault;
}

std::vector<ReceivedRequest> LoginServer::Received() const {
  const std::lock_guard lock(mutex_);
  return received_;
}

bool LoginServer::Pause(std::uint32_t ms) {
  std::unique_lock lock(mutex_);
  return !stopped_.wait_for(lock, std::chrono::milliseconds(ms),
                            [this] { return stopping_.load(); });
}

void LoginServer::AcceptLoop() {
  pollfd watch[2] = {{listenFd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
  const int maxOpen = OpenConnectionBound();
  while (!stopping_.load()) {
    if (::poll(watch, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (watch[1].revents) return;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) continue;
    const std::lock_guard lock(mutex_);
    // Connections that have ended are joined here, so their threads do not pile up.
    std::erase_if(connections_, [](Connection& c) {
      if (!c.done.load()) return false;
      c.thread.join();
      return true;
    });
    if (open_.load() >= maxOpen) {
      ::close(fd);
      continue;
    }
    const int yes = 1;
    // Each send goes out at once, so that a split response reaches the launcher in pieces.
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    Connection& c = connections_.emplace_back();
    c.id = ++accepted_;
    c.fd = fd;
    ++open_;
    c.thread = std::thread([this, &c] { Serve(c); });
  }
}

void LoginServer::Serve(Connection& connection) {
  Log("#" + std::to_string(connection.id) + " connected");
  FrameAssembler frames;
  Bytes lastResponse;
  std::uint8_t buffer[4096];
  bool keep = true;
  while (keep && !stopping_.load()) {
    const ssize_t got = ::recv(connection.fd, buffer, sizeof buffer, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    frames.Feed(ByteView(buffer, static_cast<std::size_t>(got)), [&](ByteView frame) {
      if (keep) keep = Answer(connection, frame, lastResponse);
    });
  }
  {
    // Under the lock: Stop must never shut down a number that another socket now has.
    const std::lock_guard lock(mutex_);
    ::shutdown(connection.fd, SHUT_RDWR);
    ::close(connection.fd);
    connection.fd = -1;
  }
  Log("#" + std::to_string(connection.id) + " closed");
  --open_;
  connection.done.store(true);
}

Bytes LoginServer::LoginAnswer(ByteView frame, ReceivedRequest& record) const {
  const ByteView loginField = frame.subspan(4, kLoginFieldSize);
  const ByteView passwordField = frame.subspan(4 + kLoginFieldSize, kLoginFieldSize);
  std::vector<KeyPair> pairs = {config_.Keys};
  if (config_.Keys == KeyPair::Auto) pairs = {KeyPair::Designated, KeyPair::Other};
  // The pair under which the login names an account; the first pair when none does.
  record.KeysUsed = pairs.front();
  for (KeyPair pair : pairs) {
    if (FindAccount(config_, Unscramble(loginField, KeysOf(config_, pair)))) {
      record.KeysUsed = pair;
      break;
    }
  }
  const SessionKeys keys = KeysOf(config_, record.KeysUsed);
  record.Login = Unscramble(loginField, keys);
  record.Password = Unscramble(passwordField, keys);
  const Account* account = FindAccount(config_, record.Login);
  if (!account || FieldText(account->Password) != record.Password) {
    return LoginResultFrame(config_.UnknownLoginResult, 0, 0);
  }
  return LoginResultFrame(account->Result, account->AccountID, account->Premium);
}

bool LoginServer::Answer(Connection& connection, ByteView frame, Bytes& lastResponse) {
  const std::string tag = "#" + std::to_string(connection.id);
  ReceivedRequest record;
  record.Connection = connection.id;
  record.Frame.assign(frame.begin(), frame.end());
  if (frame[2] == kFrameClass) record.Kind = RequestOfCode(frame[3]);

  Bytes response;
  if (record.Kind == Request::Hello) {
    response = HelloReplyFrame(config_);
  } else if (record.Kind == Request::Login && frame.size() >= kLoginRequestSize) {
    response = LoginAnswer(frame, record);
  } else if (record.Kind == Request::WorldList) {
    response = WorldListFrame(config_);
  } else if (record.Kind == Request::SelectWorld) {
    response = WorldServerDataFrame(config_);
  }
  Fault fault;
  {
    const std::lock_guard lock(mutex_);
    received_.push_back(record);
    if (record.Kind) fault = faults_[static_cast<std::size_t>(*record.Kind)];
  }
  std::string note = record.Kind ? std::string(RequestName(*record.Kind)) : "unknown, ignored";
  if (record.Kind == Request::Login) note += " '" + record.Login + "'";
  Log(tag + " <- " + Hex(frame) + "  (" + note + ")");
  if (response.empty()) return true;

  if (fault.DelayMs && !Pause(fault.DelayMs)) return false;
  if (fault.Close) {
    Log(tag + " closing instead of answering");
    return false;
  }
  const auto send = [&](const Bytes& bytes, const char* what) {
    Log(tag + " -> " + Hex(bytes) + what);
    SendAll(connection.fd, bytes);
  };
  if (fault.Short) {
    Bytes decoy = Poisoned(response);
    decoy.pop_back();
    SetLength(decoy);
    send(decoy, "  (short)");
  }
  if (fault.Unknown) {
    Bytes decoy = Poisoned(response);
    decoy[3] = kUnknownCode;
    send(decoy, "  (unknown type)");
  }
  if (fault.Reversed) {
    Bytes decoy = Poisoned(response);
    std::swap(decoy[2], decoy[3]);
    send(decoy, "  (reversed type)");
  }
  if (fault.Silent) return true;
  if (fault.Join) {
    Bytes both = lastResponse.empty() ? response : lastResponse;
    both.insert(both.end(), response.begin(), response.end());
    send(both, "  (two responses)");
  } else if (fault.Split) {
    const std::size_t half = response.size() / 2;
    send(Bytes(response.begin(), response.begin() + half), "  (first part)");
    if (!Pause(kSplitPauseMs)) return false;
    send(Bytes(response.begin() + half, response.end()), "  (second part)");
  } else {
    send(response, "");
  }
  lastResponse = response;
  return true;
}

}  // namespace kq::loginserver
