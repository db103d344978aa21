// Starting the game client once the ticket is written.
#pragma once

#include "common/TimeFormat.h"
#include "session/GameClient.h"
#include "session/StatusSink.h"
#include "win/Locale.h"
#include "win/Win.h"

#include <functional>
#include <string>
#include <string_view>

namespace kq {

// The start-up title the client gets: the time of day only, never the date.
inline std::u16string GameClientTitle(const LongTimeFormat& format, const TimeOfDay& now) {
  return u"DO Rizura (" + format.Format(now) + u")";
}

namespace win {

// The modal message without an icon that StartGameClient shows for a missing client file.
void ShowPlainMessage(const std::u16string& text);

// Made once at start-up and kept by the host.
struct GameStartOptions {
  StatusSink* Status = nullptr;  // the red line of a failed start; required
  LongTimeFormat TimeFormat = UserLongTimeFormat();
  std::function<TimeOfDay()> Now = LocalTimeOfDay;
  std::function<void(const std::u16string& text)> ShowMessage = ShowPlainMessage;
  // Sees the new process while it is still suspended, before it is resumed.
  std::function<void(const PROCESS_INFORMATION&)> BeforeResume;
};

// Starts the client at clientPath with its folder as current folder, the path itself
// (unquoted, no arguments) as command line and the title carrying the time of the start;
// created suspended, then resumed, not watched afterwards. A failure is reported as the red
// "Cant Start:1 " line. True when the process was started.
bool StartGameClient(const std::u16string& clientPath, const GameStartOptions& options);

}  // namespace win
}  // namespace kq
