// The world entry that ends a run: the chosen world asked for over the open link, the world
// server data awaited (the receive thread writes the ticket meanwhile), the link closed,
// and the game client started or the player told to start it.
#pragma once

#include "session/LoginSession.h"
#include "session/Ticket.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kq {

struct WorldEntryOptions {
  // The system's default sound once the wait has ended.
  std::function<void()> Beep;
  // Starts the client at the given path (LauncherDir + "KQ_Online.bin"); reports its own
  // failures.
  std::function<void(const std::u16string& clientPath)> StartGame;
};

// Runs on the window thread; the session must hold the link a successful login left open.
// Throws kq::Error ("List index out of bounds (5)") for an index outside the world list,
// before anything is sent. Everything else is reported through the session's status lines.
void EnterWorld(TLoginSession& session, std::uint16_t index, const WorldEntryOptions& options);

// "Ошибка подключения к серверу : 28 [text]" for a refused world entry.
std::u16string WorldEntryErrorLine(std::uint8_t resultCode);

// Shown instead of the game start when the world server data never came: the ticket on disk
// is not this entry's, so the client must not be given it.
inline constexpr std::u16string_view kNoWorldServerText =
    u"Нет ответа сервера на выбор мира. Игра не запущена.";

// The session's ticket hook: the world server data just stored, the account data and the
// launcher settings, written through writeFile.
TicketWriter SessionTicketWriter(TicketFileWriter writeFile);

}  // namespace kq
