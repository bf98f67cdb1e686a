#include "command_frame.h"

namespace korvena::kalibro {

std::string CommandFrame(std::string_view name, std::initializer_list<std::string_view> arguments) {
  std::string frame = "\x1b;";
  frame += name;
  for (const std::string_view argument : arguments) {
    frame += ';';
    frame += argument;
  }
  frame += '\r';
  return frame;
}

}  // namespace korvena::kalibro
