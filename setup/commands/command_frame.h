#pragma once
// Command texts as the device takes them: ESC ";" name, each argument after
// a ";", then CR. Arguments go out byte for byte as given.
#include <initializer_list>
#include <string>
#include <string_view>

namespace korvena::kalibro {

std::string CommandFrame(std::string_view name, std::initializer_list<std::string_view> arguments = {});

}  // namespace korvena::kalibro
