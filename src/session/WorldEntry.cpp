#include "session/WorldEntry.h"

#include "common/Error.h"
#include "session/GameClient.h"
#include "session/ResultCodes.h"

#include <cstdio>

namespace kq {
namespace {

std::u16string Ascii(const char* text) {
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

}  // namespace

std::u16string WorldEntryErrorLine(std::uint8_t resultCode) {
  char hex[3];
  std::snprintf(hex, sizeof hex, "%.2X", static_cast<unsigned>(resultCode));
  return u"Ошибка подключения к серверу : " + Ascii(hex) + u" [" +
         std::u16string(ResultCodeText(resultCode)) + u"]";
}

void EnterWorld(TLoginSession& session, std::uint16_t index, const WorldEntryOptions& options) {
  const auto worlds = session.WorldList();
  if (index >= worlds->size()) {
    char text[48];
    std::snprintf(text, sizeof text, "List index out of bounds (%d)", static_cast<int>(index));
    throw Error(Ascii(text));
  }
  session.Send(BuildSelectWorld(index));
  const bool arrived = session.WaitForStage(TSessionStage::WorldServer);
  if (options.Beep) options.Beep();

  // The code is the world list's: the world server data carry none of their own.
  if (const std::uint8_t code = session.ResultCode(); code != 0) {
    session.StatusLine(WorldEntryErrorLine(code), kStatusRed);
    session.CloseLink();
    return;
  }
  session.CloseLink();
  if (!arrived) {
    session.StatusLine(std::u16string(kNoWorldServerText), kStatusRed);
    return;
  }
  const std::u16string& dir = session.Settings().LauncherDir;
  if (session.AutoStart) {
    session.StatusLine(u"Start game: " + dir, kStatusBlack);
    if (options.StartGame) options.StartGame(dir + std::u16string(kGameClientFileName));
  } else {
    session.StatusLine(u"Now you can run bin manual", kStatusGreen);
  }
}

TicketWriter SessionTicketWriter(TicketFileWriter writeFile) {
  return [writeFile = std::move(writeFile)](TLoginSession& session) {
    TicketFields fields;
    fields.Server = ReadWorldServerFields(session.WorldServerData());
    fields.Login = session.Services().Codec.ToAnsi(session.Login);
    fields.AccountID = session.AccountID();
    fields.Premium = session.Premium();
    fields.ClientLanguage = session.Settings().ClientLanguage;
    // A ticket that cannot be written is not reported; the entry goes on.
    WriteTicket(fields, session.Settings().LauncherDir, session.Status(), writeFile);
  };
}

}  // namespace kq
