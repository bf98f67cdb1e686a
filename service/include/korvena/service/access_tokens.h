#pragma once
// Who may do what: each token has a role. A till prints and reads; the
// service role also settles unknown jobs (and, later, raw commands and
// settings). Tokens come from a file of "ROLE TOKEN" lines; they are never
// shown, logged or named in a message.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvena::service {

enum class Role { kTill, kService };
std::optional<Role> RoleNamed(std::string_view name);
// Whether a token of role `have` may do what needs `need`.
inline bool Permits(Role have, Role need) { return have == Role::kService || need == Role::kTill; }

class AccessTokens {
 public:
  // Anyone may do anything: --no-auth, on the loopback only.
  static AccessTokens Open() { return AccessTokens(false); }
  // One "ROLE TOKEN" a line; "#" starts a comment. Nothing, with `error`
  // naming the file and line, when it cannot be read, is readable by others
  // than its owner, or holds a line that is neither.
  static std::optional<AccessTokens> Read(const std::string& path, std::string& error);
  // Writes a new file (mode 0600, whole or not at all; an existing one is
  // kept) holding one fresh service token, and takes it.
  static std::optional<AccessTokens> WriteFirst(const std::string& path, std::string& error);

  bool required() const { return required_; }
  bool empty() const { return tokens_.empty(); }
  std::optional<Role> RoleOf(std::string_view token) const;
  void Add(Role role, std::string token);

 private:
  explicit AccessTokens(bool required) : required_(required) {}
  bool required_;
  std::vector<std::pair<std::string, Role>> tokens_;
};

}  // namespace korvena::service
