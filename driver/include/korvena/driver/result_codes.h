#pragma once
// The result codes applications were written against, and how the wide
// export variants widen them.
#include <cstdint>

namespace korvena::driver {

// Start exports.
inline constexpr uint16_t kStarted = 0;
inline constexpr uint16_t kStartRefused = 1;  // already started, or port number out of range
inline constexpr uint16_t kNoDevice = 5;
inline constexpr uint16_t kCannotOpen = 7;

// Write exports.
inline constexpr uint16_t kOk = 0;
inline constexpr uint16_t kFailed = 1;
inline constexpr uint16_t kNoAnswer = 256;
inline constexpr uint16_t kNotStarted = 65535;

// Read exports.
inline constexpr uint8_t kReadNotStarted = 255;
inline constexpr uint8_t kAnswerEnd = 13;

// KorvenaWriteL: -1 where the 16-bit code is 65535.
inline int32_t WidenWriteResult(uint16_t code) { return code == kNotStarted ? -1 : code; }
// KorvenaReadW and KorvenaReadL: 65535 and -1 where KorvenaRead gives 255.
inline uint16_t WidenReadW(uint8_t c) { return c == kReadNotStarted ? 65535 : c; }
inline int32_t WidenReadL(uint8_t c) { return c == kReadNotStarted ? -1 : c; }

}  // namespace korvena::driver
