// What the reference login server answers, and how it misbehaves on purpose: read from
// command-line flags or from a small file holding the same flags one per line.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kq::loginserver {

// The four requests of the launcher, by the code byte they carry.
enum class Request { Hello, Login, WorldList, SelectWorld };
inline constexpr std::size_t kRequestCount = 4;
std::optional<Request> RequestOfCode(std::uint8_t code);
std::string_view RequestName(Request request);

// Misbehaviour for one request. Applied in this order: wait DelayMs; with Close, drop the
// connection and answer nothing; send the decoys that are set (a copy of the response cut
// one byte short, a frame of an unknown type, the response with its two type bytes
// swapped; decoys carry 0xEE wherever the response has its payload); then, unless Silent,
// the response itself: with Split over two sends 50 ms apart, with Join in one send
// together with a repeat of the previous response of the connection.
struct Fault {
  std::uint32_t DelayMs = 0;
  bool Close = false;
  bool Short = false;
  bool Unknown = false;
  bool Reversed = false;
  bool Silent = false;
  bool Split = false;
  bool Join = false;

  bool operator==(const Fault&) const = default;
};

// Which pair of key constants the launcher scrambles with: the designated pair when it was
// configured with the designated address text, the other pair otherwise. Auto tries both
// and takes the one under which the login names an account.
enum class KeyPair { Auto, Designated, Other };

struct Account {
  std::string Login;     // UTF-8; compared in the launcher's code page, cut to 13 bytes
  std::string Password;  // the same
  std::uint8_t Result = 0;
  std::uint32_t AccountID = 1;
  std::uint32_t Premium = 0;
};

struct ServerConfig {
  std::uint16_t Port = 0;  // 0: any free port, see PortFile
  std::string PortFile;    // where the port goes once the server listens
  std::vector<Account> Accounts;
  std::uint8_t UnknownLoginResult = 6;  // for a login or password that matches no account
  std::uint8_t AddBase = 0x21;
  std::uint8_t XorBase = 0x43;
  KeyPair Keys = KeyPair::Auto;
  std::string WorldName = "Rizura";  // UTF-8
  bool WorldOpen = true;
  std::uint8_t WorldResult = 0;
  std::array<std::uint8_t, 4> WorldServerAddress{127, 0, 0, 1};
  std::uint16_t WorldServerPort = 7000;
  std::array<std::uint32_t, 4> WorldServerKeys{0x11111111, 0x22222222, 0x33333333, 0x44444444};
  std::array<Fault, kRequestCount> Faults{};
  bool LogHex = false;
  bool Help = false;
};

// Applies the flags in order to `config`; a flag given twice takes its last value, except
// --account and --fault, which add up. On a mistake returns its description.
std::optional<std::string> ParseArgs(std::span<const std::string> args, ServerConfig& config);

// The flags of a config file: one "name value" or "name=value" per line, the name without
// its dashes; blank lines and lines starting with '#' are skipped.
std::vector<std::string> ConfigFileArgs(std::string_view text);

extern const char kUsage[];

}  // namespace kq::loginserver
