#include "ServerConfig.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace kq::loginserver {
namespace {

constexpr std::string_view kRequestNames[kRequestCount] = {"hello", "login", "worlds", "select"};

std::vector<std::string_view> SplitOn(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

// Decimal, or hexadecimal after "0x".
template <class T>
bool ParseNumber(std::string_view text, T& out) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out, base);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ParseAddress(std::string_view text, std::array<std::uint8_t, 4>& out) {
  const auto parts = SplitOn(text, '.');
  if (parts.size() != 4) return false;
  for (std::size_t i = 0; i < 4; ++i) {
    if (!ParseNumber(parts[i], out[i]) || parts[i].starts_with("0x")) return false;
  }
  return true;
}

std::optional<std::string> ParseAccount(std::string_view text, Account& account) {
  const auto parts = SplitOn(text, ':');
  if (parts.size() < 2 || parts.size() > 5 || parts[0].empty()) {
    return "--account wants LOGIN:PASSWORD[:RESULT[:ACCOUNT[:PREMIUM]]]";
  }
  account.Login = parts[0];
  account.Password = parts[1];
  if ((parts.size() > 2 && !ParseNumber(parts[2], account.Result)) ||
      (parts.size() > 3 && !ParseNumber(parts[3], account.AccountID)) ||
      (parts.size() > 4 && !ParseNumber(parts[4], account.Premium))) {
    return "--account: result (0-255), account number and premium are numbers";
  }
  return std::nullopt;
}

std::optional<std::string> ParseFault(std::string_view text, ServerConfig& config) {
  const std::size_t eq = text.find('=');
  const std::string_view name = text.substr(0, eq);
  std::size_t index = 0;
  while (index < kRequestCount && kRequestNames[index] != name) ++index;
  if (index == kRequestCount || eq == std::string_view::npos) {
    return "--fault wants REQUEST=MODE[,MODE...] with REQUEST hello, login, worlds or select";
  }
  Fault& fault = config.Faults[index];
  for (std::string_view mode : SplitOn(text.substr(eq + 1), ',')) {
    if (mode.starts_with("delay:")) {
      if (!ParseNumber(mode.substr(6), fault.DelayMs)) return "--fault: delay:MILLISECONDS";
      continue;
    }
    const struct {
      std::string_view name;
      bool Fault::*flag;
    } kModes[] = {{"close", &Fault::Close},     {"short", &Fault::Short},
                  {"unknown", &Fault::Unknown}, {"reversed", &Fault::Reversed},
                  {"silent", &Fault::Silent},   {"split", &Fault::Split},
                  {"join", &Fault::Join}};
    bool known = false;
    for (const auto& m : kModes) {
      if (m.name == mode) {
        fault.*m.flag = true;
        known = true;
      }
    }
    if (!known) return "--fault: unknown mode '" + std::string(mode) + "'";
  }
  return std::nullopt;
}

std::optional<std::string> ReadConfigFile(const std::string& path, ServerConfig& config) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot read the config file " + path;
  std::ostringstream text;
  text << in.rdbuf();
  const std::vector<std::string> args = ConfigFileArgs(text.str());
  if (auto error = ParseArgs(args, config)) return path + ": " + *error;
  return std::nullopt;
}

}  // namespace

const char kUsage[] =
    R"(KQLoginServer: the reference login server of the DO Rizura launcher, on 127.0.0.1.

  --port N                  port to listen on; 0 (the default) takes a free one
  --port-file PATH          write the port there once listening (for scripts and tests)
  --config PATH             read more flags from a file: "name value" per line, # comments
  --account LOGIN:PASSWORD[:RESULT[:ACCOUNT[:PREMIUM]]]
                            an account (repeatable); RESULT is the login result code
                            (0 accepts), ACCOUNT the account number, PREMIUM 1 or 0
  --unknown-result N        result code for an unknown login or a wrong password (6)
  --key-bases ADD,XOR       the two key bases of the hello reply (0x21,0x43)
  --key-pair auto|designated|other
                            the key constants the launcher scrambles with: designated
                            when it was configured with 127.0.0.1 exactly (auto: try both)
  --world-name TEXT         the world's name (Rizura)
  --world-open 0|1          whether the world is open (1)
  --world-result N          result code of the world list response (0)
  --world-server IP:PORT    the world server data's address and port (127.0.0.1:7000)
  --world-keys K1,K2,K3,K4  the world server data's four keys
  --fault REQUEST=MODE[,MODE...]
                            misbehave on hello, login, worlds or select (repeatable):
                            delay:MS, close, short, unknown, reversed, silent, split, join
  --log                     log every frame received and sent, in hex, on standard error
  --help                    this text
)";

std::optional<Request> RequestOfCode(std::uint8_t code) {
  switch (code) {
    case 0x0C:
      return Request::Hello;
    case 0x03:
      return Request::Login;
    case 0x05:
      return Request::WorldList;
    case 0x07:
      return Request::SelectWorld;
    default:
      return std::nullopt;
  }
}

std::string_view RequestName(Request request) {
  return kRequestNames[static_cast<std::size_t>(request)];
}

std::vector<std::string> ConfigFileArgs(std::string_view text) {
  std::vector<std::string> args;
  for (std::string_view line : SplitOn(text, '\n')) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
      line.remove_suffix(1);
    }
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t cut = line.find_first_of("= \t");
    args.push_back("--" + std::string(line.substr(0, cut)));
    if (cut == std::string_view::npos) continue;
    std::string_view value = line.substr(cut);
    const auto skipBlanks = [&] {
      while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
        value.remove_prefix(1);
      }
    };
    skipBlanks();
    if (value.starts_with('=')) value.remove_prefix(1);
    skipBlanks();
    args.emplace_back(value);
  }
  return args;
}

std::optional<std::string> ParseArgs(std::span<const std::string> args, ServerConfig& config) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& flag = args[i];
    if (flag == "--log") {
      config.LogHex = true;
      continue;
    }
    if (flag == "--help") {
      config.Help = true;
      continue;
    }
    if (i + 1 == args.size()) return flag + " wants a value (see --help)";
    const std::string& value = args[++i];
    if (flag == "--port") {
      if (!ParseNumber(value, config.Port)) return "--port wants a number from 0 to 65535";
    } else if (flag == "--port-file") {
      config.PortFile = value;
    } else if (flag == "--config") {
      if (auto error = ReadConfigFile(value, config)) return error;
    } else if (flag == "--account") {
      Account account;
      if (auto error = ParseAccount(value, account)) return error;
      config.Accounts.push_back(std::move(account));
    } else if (flag == "--unknown-result") {
      if (!ParseNumber(value, config.UnknownLoginResult)) return "--unknown-result wants 0-255";
    } else if (flag == "--key-bases") {
      const auto parts = SplitOn(value, ',');
      if (parts.size() != 2 || !ParseNumber(parts[0], config.AddBase) ||
          !ParseNumber(parts[1], config.XorBase)) {
        return "--key-bases wants ADD,XOR, each 0-255";
      }
    } else if (flag == "--key-pair") {
      if (value == "auto")
        config.Keys = KeyPair::Auto;
      else if (value == "designated")
        config.Keys = KeyPair::Designated;
      else if (value == "other")
        config.Keys = KeyPair::Other;
      else
        return "--key-pair wants auto, designated or other";
    } else if (flag == "--world-name") {
      config.WorldName = value;
    } else if (flag == "--world-open") {
      if (value != "0" && value != "1") return "--world-open wants 0 or 1";
      config.WorldOpen = value == "1";
    } else if (flag == "--world-result") {
      if (!ParseNumber(value, config.WorldResult)) return "--world-result wants 0-255";
    } else if (flag == "--world-server") {
      const std::size_t colon = value.rfind(':');
      if (colon == std::string::npos ||
          !ParseAddress(std::string_view(value).substr(0, colon), config.WorldServerAddress) ||
          !ParseNumber(std::string_view(value).substr(colon + 1), config.WorldServerPort)) {
        return "--world-server wants a dotted IPv4 address and a port, IP:PORT";
      }
    } else if (flag == "--world-keys") {
      const auto parts = SplitOn(value, ',');
      bool ok = parts.size() == 4;
      for (std::size_t k = 0; ok && k < 4; ++k) {
        ok = ParseNumber(parts[k], config.WorldServerKeys[k]);
      }
      if (!ok) return "--world-keys wants four 32-bit numbers, K1,K2,K3,K4";
    } else if (flag == "--fault") {
      if (auto error = ParseFault(value, config)) return error;
    } else {
      return "unknown flag " + flag + " (see --help)";
    }
  }
  return std::nullopt;
}

}  // namespace kq::loginserver
