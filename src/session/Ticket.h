// The ticket file that hands the world server data to the game client: its 55 bytes,
// their unmasking and checking, and the status line that goes with writing it.
#pragma once

#include "common/Bytes.h"
#include "session/Packets.h"
#include "session/StatusSink.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

inline constexpr std::size_t kTicketSize = 55;
using TicketBytes = std::array<std::uint8_t, kTicketSize>;

// Relative to the launcher folder.
inline constexpr std::u16string_view kTicketFileName = u"System\\DefaultSet.tmp";

// The scrambling of each masked field: stored = value XOR mask, little-endian.
inline constexpr std::uint32_t kServIPMask = 0x7E2D91C4;
inline constexpr std::uint16_t kServPortMask = 0xD785;
inline constexpr std::uint32_t kAccountIDMask = 0x19B7D45E;
inline constexpr std::uint32_t kKey1Mask = 0x64E0A8F2;
inline constexpr std::uint32_t kKey2Mask = 0xD13C5B07;
inline constexpr std::uint32_t kKey3Mask = 0x2F96E1AB;
inline constexpr std::uint32_t kKey4Mask = 0x8A4D7C63;
inline constexpr std::uint16_t kSpareMask = 0x5A37;
inline constexpr std::uint32_t kAccountIDCopyMask = 0xE7035B9D;  // Premium shares it
inline constexpr std::uint16_t kClientLanguageMask = 0xFCC3;

inline constexpr std::size_t kTicketLoginOffset = 6;
inline constexpr std::size_t kTicketLoginSize = 13;

// The 16-bit field at offset 39 carries nothing; we always write this clear value so that
// two tickets of the same data are the same bytes.
inline constexpr std::uint16_t kTicketSpareValue = 0;

// The clear content of a ticket.
struct TicketFields {
  WorldServerFields Server{};
  std::string Login;  // ANSI bytes; only the first 13 are stored
  std::uint32_t AccountID = 0;
  std::uint32_t Premium = 0;  // 0 or 1
  std::uint8_t ClientLanguage = 0;
  std::uint16_t Spare = kTicketSpareValue;

  bool operator==(const TicketFields&) const = default;
};

TicketBytes EncodeTicket(const TicketFields& fields);

// A ticket read back. Fields holds what a client takes from it (the first AccountID, the low
// byte of the language); the values that must agree with it are kept for the report.
struct DecodedTicket {
  TicketFields Fields;
  std::uint32_t AccountIDCopy = 0;
  std::uint16_t ClientLanguageWide = 0;
  std::uint32_t Reserved49 = 0;
  // Why the ticket is not one the launcher writes; empty when it is.
  std::vector<std::string> Problems;

  bool Ok() const { return Problems.empty(); }
};

// Never fails: a short or long file decodes as far as it goes and says so in Problems.
DecodedTicket DecodeTicket(ByteView bytes);

// The six lines reported when the world server data arrive, each ending in a line feed.
std::u16string WorldServerStatusLine(const WorldServerFields& server);

// launcherDir ends with its separator.
std::u16string TicketPath(std::u16string_view launcherDir);

// Writes the bytes to the path (created or truncated); false when that fails.
using TicketFileWriter = std::function<bool(const std::u16string& path, ByteView bytes)>;

// The ticket step of the world server data: the status line in black, then the file. A file
// that cannot be written is not reported (the game client finds no ticket or an old one);
// the result only tells the caller.
bool WriteTicket(const TicketFields& fields, std::u16string_view launcherDir, StatusSink& status,
                 const TicketFileWriter& writeFile);

// Name and value of every field of a decoded ticket, in file order, for people to read.
// ANSI login bytes are shown through the codec.
struct TicketLine {
  std::string Name;
  std::u16string Value;
};
std::vector<TicketLine> DescribeTicket(const DecodedTicket& ticket, const AnsiCodec& codec);

}  // namespace kq
