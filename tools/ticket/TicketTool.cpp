#include "TicketTool.h"

#include "common/CodePage.h"
#include "common/Utf8.h"
#include "session/Ticket.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

namespace kq::tools {
namespace {

constexpr std::string_view kUsage =
    "usage: kq-ticket decode FILE\n"
    "       kq-ticket encode FILE [--ip A.B.C.D|NUMBER] [--port N] [--login TEXT]\n"
    "                 [--account N] [--premium 0|1] [--key1 N] [--key2 N] [--key3 N]\n"
    "                 [--key4 N] [--language N]\n"
    "Numbers are decimal or 0x-prefixed hexadecimal. A dotted address gives the four bytes\n"
    "in file order (as an in_addr holds them). The login is UTF-8 and is stored in code\n"
    "page 1251; only its first 13 bytes fit.\n";

std::optional<std::uint64_t> ParseNumber(std::string_view s) {
  int base = 10;
  if (s.starts_with("0x") || s.starts_with("0X")) {
    base = 16;
    s.remove_prefix(2);
  }
  std::uint64_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<std::uint32_t> ParseAddress(std::string_view s) {
  if (s.find('.') == std::string_view::npos) {
    const auto v = ParseNumber(s);
    if (!v || *v > 0xFFFFFFFF) return std::nullopt;
    return static_cast<std::uint32_t>(*v);
  }
  std::uint32_t ip = 0;
  for (int i = 0; i < 4; ++i) {
    const std::size_t dot = s.find('.');
    if ((i < 3) == (dot == std::string_view::npos)) return std::nullopt;
    const auto part = ParseNumber(s.substr(0, dot));
    if (!part || *part > 255) return std::nullopt;
    ip |= static_cast<std::uint32_t>(*part) << (8 * i);
    s = dot == std::string_view::npos ? std::string_view() : s.substr(dot + 1);
  }
  return ip;
}

std::optional<Bytes> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  Bytes data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return data;
}

bool WriteFile(const std::string& path, ByteView bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

int Decode(const std::string& path, std::ostream& out, std::ostream& err) {
  const auto bytes = ReadFile(path);
  if (!bytes) {
    err << "cannot read " << path << "\n";
    return 2;
  }
  const DecodedTicket ticket = DecodeTicket(*bytes);
  const Cp1251Codec codec;
  for (const auto& line : DescribeTicket(ticket, codec)) {
    out << line.Name << ": " << Utf16ToUtf8String(line.Value) << "\n";
  }
  return ticket.Ok() ? 0 : 1;
}

// One numeric option: its name, the largest value it takes, and where it goes.
struct NumberOption {
  std::string_view name;
  std::uint64_t max;
  void (*store)(TicketFields&, std::uint64_t);
};

using U16 = std::uint16_t;
using U32 = std::uint32_t;
const NumberOption kNumberOptions[] = {
    {"--port", 0xFFFF, [](TicketFields& f, std::uint64_t v) { f.Server.ServPort = U16(v); }},
    {"--account", 0xFFFFFFFF, [](TicketFields& f, std::uint64_t v) { f.AccountID = U32(v); }},
    {"--premium", 1, [](TicketFields& f, std::uint64_t v) { f.Premium = U32(v); }},
    {"--key1", 0xFFFFFFFF, [](TicketFields& f, std::uint64_t v) { f.Server.Key1 = U32(v); }},
    {"--key2", 0xFFFFFFFF, [](TicketFields& f, std::uint64_t v) { f.Server.Key2 = U32(v); }},
    {"--key3", 0xFFFFFFFF, [](TicketFields& f, std::uint64_t v) { f.Server.Key3 = U32(v); }},
    {"--key4", 0xFFFFFFFF, [](TicketFields& f, std::uint64_t v) { f.Server.Key4 = U32(v); }},
    {"--language", 0xFF,
     [](TicketFields& f, std::uint64_t v) { f.ClientLanguage = static_cast<std::uint8_t>(v); }},
};

int Encode(const std::string& path, const std::vector<std::string>& opts, std::ostream& out,
           std::ostream& err) {
  TicketFields f;
  for (std::size_t i = 0; i < opts.size(); i += 2) {
    const std::string& name = opts[i];
    if (i + 1 >= opts.size()) {
      err << name << " needs a value\n" << kUsage;
      return 2;
    }
    const std::string& value = opts[i + 1];
    if (name == "--login") {
      const std::u16string text = Utf8ToUtf16(AsBytes(value));
      f.Login = Cp1251Codec().ToAnsi(text);
      if (Cp1251Codec().FromAnsi(f.Login) != text) {
        err << "the login has characters that code page 1251 lacks\n";
        return 2;
      }
      if (f.Login.size() > kTicketLoginSize) {
        err << "note: the login takes " << f.Login.size()
            << " bytes; only the first 13 are stored\n";
      }
      continue;
    }
    if (name == "--ip") {
      const auto ip = ParseAddress(value);
      if (!ip) {
        err << "--ip takes a dotted address or a 32-bit number, not " << value << "\n";
        return 2;
      }
      f.Server.ServIP = *ip;
      continue;
    }
    const NumberOption* opt = nullptr;
    for (const auto& o : kNumberOptions) {
      if (o.name == name) opt = &o;
    }
    if (!opt) {
      err << "unknown option " << name << "\n" << kUsage;
      return 2;
    }
    const auto v = ParseNumber(value);
    if (!v || *v > opt->max) {
      err << name << " takes a number from 0 to " << opt->max << ", not " << value << "\n";
      return 2;
    }
    opt->store(f, *v);
  }
  if (!WriteFile(path, EncodeTicket(f))) {
    err << "cannot write " << path << "\n";
    return 2;
  }
  out << "wrote " << kTicketSize << " bytes to " << path << "\n";
  return 0;
}

}  // namespace

int RunTicketTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 2 && args[0] == "decode") return Decode(args[1], out, err);
  if (args.size() >= 2 && args[0] == "encode") {
    return Encode(args[1], {args.begin() + 2, args.end()}, out, err);
  }
  err << kUsage;
  return 2;
}

}  // namespace kq::tools
