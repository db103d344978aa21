#include "session/Packets.h"

#include <algorithm>

namespace kq {
namespace {

constexpr std::size_t kPayloadOffset = 4;
constexpr std::size_t kWorldOpenOffset = 8;
constexpr std::size_t kWorldNameOffset = 10;
constexpr std::size_t kWorldNameSize = 51;

void AppendScrambledField(ByteWriter& w, std::string_view text, std::uint8_t addKey,
                          std::uint8_t xorKey) {
  for (std::size_t i = 0; i < kLoginFieldSize; ++i) {
    const std::uint8_t b = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
    w.U8(static_cast<std::uint8_t>(b + addKey) ^ xorKey);
  }
}

// A reader placed at the payload, or nullopt when the frame is not of the given type.
std::optional<ByteReader> PayloadOf(ByteView frame, std::uint16_t type) {
  if (ResponseType(frame) != type) return std::nullopt;
  ByteReader r(frame);
  r.Seek(kPayloadOffset);
  return r;
}

}  // namespace

Bytes BuildFrame(std::uint8_t code, ByteView payload) {
  Bytes out;
  ByteWriter w(out);
  w.U16(0);
  w.U8(kFrameClass);
  w.U8(code);
  w.Append(payload);
  out[0] = static_cast<std::uint8_t>(out.size());
  out[1] = static_cast<std::uint8_t>(out.size() >> 8);
  return out;
}

Bytes BuildHello() {
  const std::uint8_t payload[] = {0xFF};
  return BuildFrame(kHelloCode, payload);
}

Bytes BuildLoginRequest(std::string_view ansiLogin, std::string_view ansiPassword,
                        std::uint8_t addKey, std::uint8_t xorKey) {
  Bytes payload;
  ByteWriter w(payload);
  AppendScrambledField(w, ansiLogin, addKey, xorKey);
  AppendScrambledField(w, ansiPassword, addKey, xorKey);
  w.U8(0);
  return BuildFrame(kLoginRequestCode, payload);
}

Bytes BuildWorldListRequest(std::uint32_t value) {
  Bytes payload;
  ByteWriter(payload).U32(value);
  return BuildFrame(kWorldListRequestCode, payload);
}

Bytes BuildSelectWorld(std::uint16_t worldIndex) {
  Bytes payload;
  ByteWriter(payload).U16(worldIndex);
  return BuildFrame(kSelectWorldCode, payload);
}

SessionKeys DeriveSessionKeys(std::uint8_t addBase, std::uint8_t xorBase,
                              std::u16string_view loginServerIP) {
  const KeyConstants& k =
      loginServerIP == kDesignatedLoginServerIP ? kDesignatedKeyConstants : kOtherKeyConstants;
  return {static_cast<std::uint8_t>(addBase + k.Add), static_cast<std::uint8_t>(xorBase + k.Xor)};
}

std::uint16_t ResponseType(ByteView frame) {
  ByteReader r(frame);
  r.Seek(2);
  const std::uint8_t high = r.U8();
  const std::uint8_t low = r.U8();
  if (!r.Ok()) return 0;
  return static_cast<std::uint16_t>(high << 8 | low);
}

std::optional<HelloReply> DecodeHelloReply(ByteView frame) {
  auto r = PayloadOf(frame, kHelloReplyType);
  if (!r) return std::nullopt;
  HelloReply reply;
  reply.AddBase = r->U8();
  reply.XorBase = r->U8();
  if (!r->Ok()) return std::nullopt;
  return reply;
}

std::optional<LoginResult> DecodeLoginResult(ByteView frame) {
  auto r = PayloadOf(frame, kLoginResultType);
  if (!r) return std::nullopt;
  LoginResult result;
  result.ResultCode = r->U8();
  result.AccountID = r->U32();
  // Only exactly 1 marks a premium account.
  result.Premium = r->U32() == 1 ? 1 : 0;
  if (!r->Ok()) return std::nullopt;
  return result;
}

std::optional<WorldListResponse> DecodeWorldList(ByteView frame, const AnsiCodec& codec) {
  auto r = PayloadOf(frame, kWorldListType);
  if (!r) return std::nullopt;
  const std::uint8_t resultCode = r->U8();
  r->Seek(kWorldOpenOffset);
  const bool open = r->U8() != 0;
  r->Seek(kWorldNameOffset);
  const ByteView name = r->Span(kWorldNameSize);
  if (!r->Ok()) return std::nullopt;
  const ByteView text = name.first(std::find(name.begin(), name.end(), 0) - name.begin());
  return WorldListResponse{resultCode, {{open, codec.FromAnsi(AsChars(text)), 0, 0}}};
}

std::optional<WorldServerBlock> DecodeWorldServerData(ByteView frame) {
  auto r = PayloadOf(frame, kWorldServerDataType);
  if (!r) return std::nullopt;
  const ByteView bytes = r->Span(std::tuple_size_v<WorldServerBlock>);
  if (!r->Ok()) return std::nullopt;
  WorldServerBlock block;
  std::copy(bytes.begin(), bytes.end(), block.begin());
  return block;
}

WorldServerFields ReadWorldServerFields(const WorldServerBlock& block) {
  ByteReader r(block);
  r.Skip(1);
  WorldServerFields f;
  f.ServIP = r.U32();
  f.ServPort = r.U16();
  f.Key1 = r.U32();
  f.Key2 = r.U32();
  f.Key3 = r.U32();
  f.Key4 = r.U32();
  return f;
}

}  // namespace kq
