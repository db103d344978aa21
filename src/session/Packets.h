// Frames of the login-server protocol: building the launcher's requests and decoding the
// server's responses. Pure byte work; the link that sends and receives them lives elsewhere.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Bytes.h"
#include "common/CodePage.h"

namespace kq {

// Every frame: u16 total size, class byte, code byte, payload.
inline constexpr std::uint8_t kFrameClass = 0x15;

inline constexpr std::uint8_t kHelloCode = 0x0C;
inline constexpr std::uint8_t kLoginRequestCode = 0x03;
inline constexpr std::uint8_t kWorldListRequestCode = 0x05;
inline constexpr std::uint8_t kSelectWorldCode = 0x07;

// Responses are told apart by bytes 2 and 3 read as one number, byte 2 high.
inline constexpr std::uint16_t kLoginResultType = 0x1504;
inline constexpr std::uint16_t kWorldListType = 0x1506;
inline constexpr std::uint16_t kWorldServerDataType = 0x1508;
inline constexpr std::uint16_t kHelloReplyType = 0x150D;

// Login and password each take this many bytes in the login request, cut or zero-padded.
inline constexpr std::size_t kLoginFieldSize = 13;

// Appends the header, the payload, and then patches the size into bytes 0-1.
Bytes BuildFrame(std::uint8_t code, ByteView payload);

Bytes BuildHello();
// Login and password are already in the ANSI code page; each byte is scrambled with the keys.
Bytes BuildLoginRequest(std::string_view ansiLogin, std::string_view ansiPassword,
                        std::uint8_t addKey, std::uint8_t xorKey);
Bytes BuildWorldListRequest(std::uint32_t value);
Bytes BuildSelectWorld(std::uint16_t worldIndex);

struct SessionKeys {
  std::uint8_t AddKey;
  std::uint8_t XorKey;
};

// The constants added to the hello reply's bases. Our own login server gets its own pair;
// any other address text, even one naming the same host, gets the other pair.
struct KeyConstants {
  std::uint8_t Add;
  std::uint8_t Xor;
};
inline constexpr std::u16string_view kDesignatedLoginServerIP = u"127.0.0.1";
inline constexpr KeyConstants kDesignatedKeyConstants{0x3A, 0x5E};
inline constexpr KeyConstants kOtherKeyConstants{0xC5, 0xA7};

SessionKeys DeriveSessionKeys(std::uint8_t addBase, std::uint8_t xorBase,
                              std::u16string_view loginServerIP);

// 0 when the frame is too short to carry a type.
std::uint16_t ResponseType(ByteView frame);

// Each decoder returns nullopt for a frame of another type or one too short for its fields.

struct HelloReply {
  std::uint8_t AddBase;
  std::uint8_t XorBase;
};
std::optional<HelloReply> DecodeHelloReply(ByteView frame);

struct LoginResult {
  std::uint8_t ResultCode;
  std::uint32_t AccountID;
  std::uint32_t Premium;  // 0 or 1
};
std::optional<LoginResult> DecodeLoginResult(ByteView frame);

struct TKQWorldRecord {
  bool WorldOpen;
  std::u16string WorldName;
  std::uint16_t UsersCount;
  std::uint8_t UnknownByte;

  bool operator==(const TKQWorldRecord&) const = default;
};

struct WorldListResponse {
  std::uint8_t ResultCode;
  std::vector<TKQWorldRecord> Worlds;
};
std::optional<WorldListResponse> DecodeWorldList(ByteView frame, const AnsiCodec& codec);

// The world server data as received, kept whole for the ticket.
using WorldServerBlock = std::array<std::uint8_t, 23>;
std::optional<WorldServerBlock> DecodeWorldServerData(ByteView frame);

// The fields of a WorldServerBlock; its first byte carries nothing we use.
struct WorldServerFields {
  std::uint32_t ServIP;
  std::uint16_t ServPort;
  std::uint32_t Key1;
  std::uint32_t Key2;
  std::uint32_t Key3;
  std::uint32_t Key4;

  bool operator==(const WorldServerFields&) const = default;
};
WorldServerFields ReadWorldServerFields(const WorldServerBlock& block);

}  // namespace kq
