#include "korvena/service/access_tokens.h"

#include <sys/random.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "korvena/platform/whole_files.h"
#include "setting_lines.h"

namespace korvena::service {
namespace {

constexpr std::size_t kLargestTokenFile = 1 << 20;
constexpr std::size_t kTokenBytes = 24;

// Two strings equal in a time that does not tell where they first differ.
bool SameToken(std::string_view a, std::string_view b) {
  const std::string_view other = a.size() == b.size() ? b : a;
  unsigned char difference = a.size() == b.size() ? 0 : 1;
  for (std::size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ other[i]);
  return difference == 0;
}

std::optional<std::string> FreshToken() {
  unsigned char bytes[kTokenBytes];
  std::size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    got += static_cast<std::size_t>(n);
  }
  std::string token;
  for (const unsigned char b : bytes) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", b);
    token += hex;
  }
  return token;
}

}  // namespace

std::optional<Role> RoleNamed(std::string_view name) {
  if (name == "till") return Role::kTill;
  if (name == "service") return Role::kService;
  return std::nullopt;
}

std::optional<AccessTokens> AccessTokens::Read(const std::string& path, std::string& error) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && (info.st_mode & 077) != 0) {
    error = "the token file " + path + " may be read by others than its owner (make it mode 0600)";
    return std::nullopt;
  }
  const FileContents file = ReadWholeFile(path, kLargestTokenFile);
  if (file.status != FileContents::kRead) {
    error = "cannot read the token file " + path;
    return std::nullopt;
  }
  AccessTokens tokens(true);
  for (const auto& [number, line] : SettingLines(file.bytes)) {
    const std::size_t blank = line.find_first_of(" \t");
    const std::optional<Role> role = RoleNamed(line.substr(0, blank));
    const std::string_view token = blank == std::string_view::npos ? std::string_view() : TrimmedSetting(line.substr(blank));
    if (!role || token.empty() || token.find_first_of(" \t") != std::string_view::npos) {
      error = path + " line " + std::to_string(number) + ": not \"till TOKEN\" or \"service TOKEN\"";
      return std::nullopt;
    }
    tokens.Add(*role, std::string(token));
  }
  return tokens;
}

std::optional<AccessTokens> AccessTokens::WriteFirst(const std::string& path, std::string& error) {
  const std::optional<std::string> token = FreshToken();
  if (!token) {
    error = "no random numbers for a token";
    return std::nullopt;
  }
  const std::string text = "# Tokens of korvena-service: one \"ROLE TOKEN\" a line, ROLE till or service.\nservice " +
                           *token + "\n";
  // Read by its owner only, from the moment it exists.
  const mode_t before = umask(077);
  const bool written = WriteNewFile(path, text);
  const int why = errno;
  umask(before);
  if (!written) {
    error = "cannot write the token file " + path + ": " + FileErrorText(why);
    return std::nullopt;
  }
  AccessTokens tokens(true);
  tokens.Add(Role::kService, *token);
  return tokens;
}

std::optional<Role> AccessTokens::RoleOf(std::string_view token) const {
  std::optional<Role> found;
  for (const auto& [known, role] : tokens_)
    if (SameToken(known, token)) found = role;
  return found;
}

void AccessTokens::Add(Role role, std::string token) { tokens_.emplace_back(std::move(token), role); }

}  // namespace korvena::service
