// What the session tests of both builds share: a host and a desktop that record what the
// session tells them, and a wait for a condition that another thread brings about.
#pragma once

#include "session/LoginSession.h"

#include <chrono>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace kq::test {

struct StatusLineRecord {
  std::u16string text;
  std::uint32_t colour;
  bool operator==(const StatusLineRecord&) const = default;
};

inline void PrintTo(const StatusLineRecord& line, std::ostream* os) {
  std::string narrow;
  for (char16_t c : line.text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  *os << "{\"" << narrow << "\", " << line.colour << "}";
}

// Calls may come from the worker and the receive thread alike.
class RecordingHost final : public TSessionHost {
 public:
  void StatusLine(const std::u16string& text, std::uint32_t colour) override {
    const std::lock_guard lock(mutex_);
    lines_.push_back({text, colour});
  }
  void WorldListReady(std::shared_ptr<const TWorldList> worlds) override {
    const std::lock_guard lock(mutex_);
    worlds_ = std::move(worlds);
    ++endings_;
  }
  void SequenceEnded(std::uint32_t outcomeCode) override {
    const std::lock_guard lock(mutex_);
    outcome_ = outcomeCode;
    ++endings_;
  }

  std::vector<StatusLineRecord> Lines() const {
    const std::lock_guard lock(mutex_);
    return lines_;
  }
  std::shared_ptr<const TWorldList> Worlds() const {
    const std::lock_guard lock(mutex_);
    return worlds_;
  }
  std::optional<std::uint32_t> Outcome() const {
    const std::lock_guard lock(mutex_);
    return outcome_;
  }
  int Endings() const {
    const std::lock_guard lock(mutex_);
    return endings_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<StatusLineRecord> lines_;
  std::shared_ptr<const TWorldList> worlds_;
  std::optional<std::uint32_t> outcome_;
  int endings_ = 0;
};

struct MessageRecord {
  std::u16string text;
  std::u16string caption;
  SessionDesktop::Icon icon;
  bool operator==(const MessageRecord&) const = default;
};

// File checks by the system's desktop; message boxes are recorded instead of shown.
class RecordingDesktop final : public SessionDesktop {
 public:
  explicit RecordingDesktop(SessionDesktop& system) : system_(system) {}
  bool FileExists(const std::u16string& path) override { return system_.FileExists(path); }
  void ShowMessage(std::u16string_view text, std::u16string_view caption, Icon icon) override {
    const std::lock_guard lock(mutex_);
    messages_.push_back({std::u16string(text), std::u16string(caption), icon});
  }
  std::vector<MessageRecord> Messages() const {
    const std::lock_guard lock(mutex_);
    return messages_;
  }

 private:
  SessionDesktop& system_;
  mutable std::mutex mutex_;
  std::vector<MessageRecord> messages_;
};

// Polls until the condition holds or 10 s have passed; for effects that another thread
// brings about a moment later (a connection closed on the server's side).
template <class Condition>
bool Eventually(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace kq::test
