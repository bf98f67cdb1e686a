#pragma once
// The device prints its header and footer lines in code page 852; the PC
// side holds them in Windows-1250. Both directions keep the length of the
// text and pass bytes below 0x80 unchanged.
#include <string>
#include <string_view>

namespace korvena::encodings {

// A line read from the device, made fit for the PC. Characters the PC code
// page lacks (shading, boxes) become look-alikes: "+", "-", the broken bar,
// or "_".
std::string DeviceToPc(std::string_view codePage852);

// A line typed on the PC, made fit for the device. Typographic punctuation
// becomes its plain ASCII form; what the device cannot show becomes "_" or
// its filled square.
std::string PcToDevice(std::string_view windows1250);

}  // namespace korvena::encodings
