#pragma once
// The three moments of a frame at which a crash teaches the most: its intent
// committed but nothing sent, sent but not answered, answered but the answer
// not yet committed. A test build stops the process at a chosen one.
#include <functional>
#include <string_view>

namespace korvena::service {

enum class CrashPoint { kBeforeSend, kSent, kAnswered };

// Called with the frame's purpose ("S", "L2", "K", "GETLDX", "probe", ...)
// at each point; production leaves it empty.
using CrashHook = std::function<void(std::string_view purpose, CrashPoint point)>;

}  // namespace korvena::service
