#pragma once
// The driver's warning box. A library inside a point-of-sale terminal must not
// open windows of its own here, so the text goes to standard error as
// "<caption>: <text>" on one line.
#include <string>

namespace korvena {

void ShowWarningBox(const std::string& caption, const std::string& text);

}  // namespace korvena
