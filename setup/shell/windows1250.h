#pragma once
// The PC side of the device's texts is Windows-1250; Qt works in Unicode.
// Every device text crosses into Qt (and back) through these two functions.
#include <QString>
#include <string>
#include <string_view>

namespace korvena::kalibro {

QString FromWindows1250(std::string_view bytes);

// Characters Windows-1250 cannot hold become '?'.
std::string ToWindows1250(const QString& text);

}  // namespace korvena::kalibro
