#pragma once
// INI profile files with the semantics the configuration files were written
// for: section and key names match without regard to case, the first match
// wins, a missing file reads as empty, and writing one key keeps every other
// line of the file exactly as it was.
#include <cstdint>
#include <optional>
#include <string>

namespace korvena {

// The value of `key` in `section`, trimmed of surrounding blanks and of one
// pair of enclosing double quotes; nullopt when the file, section or key is
// missing or the file cannot be read.
std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section,
                                            const std::string& key);

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback);

// Integer reading as profile files do it: leading blanks, an optional sign and
// decimal digits; a value without digits reads as 0, a missing key as
// `fallback`. Values beyond 32 bits are cut to their low 32 bits.
int32_t ReadProfileInt(const std::string& file, const std::string& section, const std::string& key,
                       int32_t fallback);

// Sets `key` in `section` to `value`, adding the section or key when missing.
// The file is replaced whole (temporary file and rename), never half written.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

}  // namespace korvena
