#pragma once
// Texts between the command line (UTF-8) and the device (code page 852):
// what goes out is checked whole before anything is sent, and what comes
// back is shown in UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/text_limits.h"

namespace korvena::cli {

using protocol::kLongestCurrencySymbol;
using protocol::kLongestDic;
using protocol::kLongestDkp;
using protocol::kLongestIcDph;
using protocol::kLongestIco;
using protocol::kLongestLineText;

// `utf8` in the device's code page; an invalid failure naming `what` and
// the character the code page lacks, or the reason the device cannot take
// the bytes (CheckDeviceBytes).
std::string DeviceText(std::string_view utf8, std::string_view what, std::size_t longest);

// A whole command text for the free command: fields and all, so ";" may
// stand in it, but no control byte.
std::string DeviceCommandText(std::string_view utf8, std::string_view what);

// Bytes about to go into a field of a command: at most `longest` of them,
// and none of ";" (it would start another field) or the control bytes that
// end or start a frame.
void CheckDeviceBytes(std::string_view bytes, std::string_view what, std::size_t longest);

// A header or footer line from the device, in UTF-8.
std::string ShownLine(std::string_view codePage852);
// Any other text from the device (identity, version, dates): ASCII in
// practice, read as Windows-1250 as the service program has always done.
std::string ShownValue(std::string_view bytes);
// An info answer in UTF-8 by the form the catalogue gives it.
std::string ShownInfo(protocol::InfoForm form, std::string_view answer);

}  // namespace korvena::cli
