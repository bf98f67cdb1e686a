#pragma once
// The words after a command's name, taken one by one as its grammar reads
// them. Every miss is a usage failure naming the command, so each command's
// code stays as short as its synopsis.
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvena::cli {

class Arguments {
 public:
  Arguments(std::string command, std::vector<std::string> words);

  const std::string& command() const { return command_; }
  bool empty() const { return words_.empty(); }
  std::size_t size() const { return words_.size(); }

  // The next word; a usage failure naming `what` when there is none.
  std::string Next(std::string_view what);
  // The next word, which must be one of `choices`.
  std::string NextOf(std::string_view what, std::initializer_list<std::string_view> choices);
  // Takes "--name VALUE" from wherever it stands before a "--"; nullopt when absent.
  std::optional<std::string> Option(std::string_view name);
  // Takes "--name" from wherever it stands before a "--".
  bool Flag(std::string_view name);
  // Every word left, a leading "--" dropped.
  std::vector<std::string> Rest();
  // A usage failure when any word is left.
  void Done() const;

 private:
  // Where `word` stands among the words that may still be options.
  std::optional<std::size_t> Find(std::string_view word) const;

  std::string command_;
  std::vector<std::string> words_;
};

}  // namespace korvena::cli
