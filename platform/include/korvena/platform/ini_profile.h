#pragma once
// INI profile files with the semantics the configuration files were written
// for: section and key names match without regard to case, the first match
// wins, a missing file reads as empty, and writing one key keeps every other
// line of the file exactly as it was.
#include <cstdint>
#include <optional>
#include <string>

namespace korvena {

// One file's settings, read once so a program reading many keys reads the
// file once.
class IniProfile {
 public:
  // The file as it is now. A missing file reads as empty, and so does one
  // that is not a regular file or is larger than 1 MiB: those are read as
  // missing, without blocking and without taking the memory they would.
  static IniProfile Load(const std::string& file);

  // The value of `key` in the first section named `section`, trimmed of
  // surrounding blanks and of one pair of enclosing double quotes; nullopt
  // when the section or key is missing.
  std::optional<std::string> Value(const std::string& section, const std::string& key) const;
  std::string String(const std::string& section, const std::string& key, const std::string& fallback) const;
  // Integers as profile files read them: an optional sign and decimal digits
  // after the blanks; a value without digits reads as 0, a missing key as
  // `fallback`. Int cuts the value to its low 32 bits; Int64 keeps it whole
  // (saturating far beyond any setting), so a range check sees the real value.
  int32_t Int(const std::string& section, const std::string& key, int32_t fallback) const;
  int64_t Int64(const std::string& section, const std::string& key, int64_t fallback) const;

 private:
  std::string content_;
};

// One-off reads of a single key, through IniProfile.

std::optional<std::string> ReadProfileValue(const std::string& file, const std::string& section,
                                            const std::string& key);

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback);

int32_t ReadProfileInt(const std::string& file, const std::string& section, const std::string& key,
                       int32_t fallback);

// Sets `key` in `section` to `value`, adding the section or key when missing.
// The file is replaced whole (WriteWholeFile), never half written. False,
// with the file untouched, when it exists but cannot be read whole.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

}  // namespace korvena
