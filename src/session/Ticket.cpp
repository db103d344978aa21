#include "session/Ticket.h"

#include <algorithm>
#include <string>

namespace kq {
namespace {

// Upper-case, zero-padded to the width.
std::u16string Hex(std::uint32_t value, int digits) {
  std::u16string out(static_cast<std::size_t>(digits), u'0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) out[i] = u"0123456789ABCDEF"[value & 0xF];
  return out;
}

std::u16string Ascii(std::string_view s) {
  return {s.begin(), s.end()};
}
std::u16string Decimal(std::uint32_t value) {
  return Ascii(std::to_string(value));
}

std::u16string HexAndDecimal(std::uint32_t value, int digits) {
  return Hex(value, digits) + u" (" + Decimal(value) + u")";
}

// The address as the four bytes lie in the file, lowest first: the order of an in_addr.
std::u16string Dotted(std::uint32_t ip) {
  std::u16string out;
  for (int i = 0; i < 4; ++i) {
    if (i) out += u'.';
    out += Decimal((ip >> (8 * i)) & 0xFF);
  }
  return out;
}

}  // namespace

TicketBytes EncodeTicket(const TicketFields& f) {
  Bytes out;
  out.reserve(kTicketSize);
  ByteWriter w(out);
  w.U32(f.Server.ServIP ^ kServIPMask);
  w.U16(static_cast<std::uint16_t>(f.Server.ServPort ^ kServPortMask));
  for (std::size_t i = 0; i < kTicketLoginSize; ++i) {
    w.U8(i < f.Login.size() ? static_cast<std::uint8_t>(f.Login[i]) : 0);
  }
  w.U32(f.AccountID ^ kAccountIDMask);
  w.U32(f.Server.Key1 ^ kKey1Mask);
  w.U32(f.Server.Key2 ^ kKey2Mask);
  w.U32(f.Server.Key3 ^ kKey3Mask);
  w.U32(f.Server.Key4 ^ kKey4Mask);
  w.U16(static_cast<std::uint16_t>(f.Spare ^ kSpareMask));
  w.U32(f.AccountID ^ kAccountIDCopyMask);
  w.U32(f.Premium ^ kAccountIDCopyMask);
  w.U32(0);
  w.U16(static_cast<std::uint16_t>(f.ClientLanguage ^ kClientLanguageMask));

  TicketBytes ticket{};
  std::copy_n(out.begin(), kTicketSize, ticket.begin());
  return ticket;
}

DecodedTicket DecodeTicket(ByteView bytes) {
  DecodedTicket t;
  auto& f = t.Fields;
  ByteReader r(bytes.first(std::min(bytes.size(), kTicketSize)));
  f.Server.ServIP = r.U32() ^ kServIPMask;
  f.Server.ServPort = static_cast<std::uint16_t>(r.U16() ^ kServPortMask);
  const ByteView login = r.Span(kTicketLoginSize);
  f.AccountID = r.U32() ^ kAccountIDMask;
  f.Server.Key1 = r.U32() ^ kKey1Mask;
  f.Server.Key2 = r.U32() ^ kKey2Mask;
  f.Server.Key3 = r.U32() ^ kKey3Mask;
  f.Server.Key4 = r.U32() ^ kKey4Mask;
  f.Spare = static_cast<std::uint16_t>(r.U16() ^ kSpareMask);
  t.AccountIDCopy = r.U32() ^ kAccountIDCopyMask;
  f.Premium = r.U32() ^ kAccountIDCopyMask;
  t.Reserved49 = r.U32();
  t.ClientLanguageWide = static_cast<std::uint16_t>(r.U16() ^ kClientLanguageMask);
  f.ClientLanguage = static_cast<std::uint8_t>(t.ClientLanguageWide);

  auto& p = t.Problems;
  if (bytes.size() != kTicketSize) {
    // Fields past the end of a short file read as garbage; judging them says nothing more.
    p.push_back("size is " + std::to_string(bytes.size()) + " bytes, not 55");
    if (!r.Ok()) return t;
  }
  const auto end = std::find(login.begin(), login.end(), 0);
  f.Login.assign(end - login.begin(), '\0');
  std::copy(login.begin(), end, f.Login.begin());
  if (std::any_of(end, login.end(), [](std::uint8_t b) { return b != 0; })) {
    p.push_back("login field has bytes after its terminating zero");
  }
  if (t.AccountIDCopy != f.AccountID) p.push_back("the two AccountID copies differ");
  if (f.Premium > 1) p.push_back("Premium is " + std::to_string(f.Premium) + ", not 0 or 1");
  if (f.Spare != kTicketSpareValue) {
    p.push_back("offset 39 holds " + std::to_string(f.Spare) + ", not " +
                std::to_string(kTicketSpareValue));
  }
  if (t.Reserved49 != 0) p.push_back("offsets 49-52 are not zero");
  if (t.ClientLanguageWide > 0xFF) p.push_back("ClientLanguage has a nonzero high byte");
  return t;
}

std::u16string WorldServerStatusLine(const WorldServerFields& s) {
  return u"ServIP:" + Hex(s.ServIP, 8) + u"\nServPort:" + Hex(s.ServPort, 4) + u"\nKey1:" +
         Hex(s.Key1, 8) + u"\nKey2:" + Hex(s.Key2, 8) + u"\nKey3:" + Hex(s.Key3, 8) + u"\nKey4:" +
         Hex(s.Key4, 8) + u"\n";
}

std::u16string TicketPath(std::u16string_view launcherDir) {
  return std::u16string(launcherDir) + std::u16string(kTicketFileName);
}

bool WriteTicket(const TicketFields& fields, std::u16string_view launcherDir, StatusSink& status,
                 const TicketFileWriter& writeFile) {
  status.StatusLine(WorldServerStatusLine(fields.Server), kStatusBlack);
  const TicketBytes bytes = EncodeTicket(fields);
  return writeFile(TicketPath(launcherDir), bytes);
}

std::vector<TicketLine> DescribeTicket(const DecodedTicket& t, const AnsiCodec& codec) {
  const auto& f = t.Fields;
  std::u16string check;
  for (const auto& problem : t.Problems) check += (check.empty() ? u"" : u"; ") + Ascii(problem);
  return {
      {"ServIP", Hex(f.Server.ServIP, 8) + u" (" + Dotted(f.Server.ServIP) + u")"},
      {"ServPort", HexAndDecimal(f.Server.ServPort, 4)},
      {"Login", codec.FromAnsi(f.Login)},
      {"AccountID", HexAndDecimal(f.AccountID, 8)},
      {"Key1", Hex(f.Server.Key1, 8)},
      {"Key2", Hex(f.Server.Key2, 8)},
      {"Key3", Hex(f.Server.Key3, 8)},
      {"Key4", Hex(f.Server.Key4, 8)},
      {"Offset39", Hex(f.Spare, 4)},
      {"AccountIDCopy", HexAndDecimal(t.AccountIDCopy, 8)},
      {"Premium", Decimal(f.Premium)},
      {"Offset49", Hex(t.Reserved49, 8)},
      {"ClientLanguage", HexAndDecimal(t.ClientLanguageWide, 4)},
      {"Check", t.Ok() ? u"ok" : check},
  };
}

}  // namespace kq
