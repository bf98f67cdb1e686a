#pragma once
// Texts from a person (UTF-8) for the device (code page 852): checked whole
// before anything is sent. Failures are InvalidInput naming `what`.
#include <cstddef>
#include <string>
#include <string_view>

namespace korvena::operations {

// `utf8` in the device's code page; InvalidInput naming `what` and the
// character the code page lacks, or the reason the device cannot take the
// bytes (CheckDeviceBytes).
std::string DeviceText(std::string_view utf8, std::string_view what, std::size_t longest);

// A whole command text for the free command: fields and all, so ";" may
// stand in it, but no control byte.
std::string DeviceCommandText(std::string_view utf8, std::string_view what);

// Bytes about to go into a field of a command: at most `longest` of them,
// and none of ";" (it would start another field) or the control bytes that
// end or start a frame.
void CheckDeviceBytes(std::string_view bytes, std::string_view what, std::size_t longest);

}  // namespace korvena::operations
