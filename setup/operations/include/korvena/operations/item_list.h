#pragma once
// Lists the device reports as one line of items, such as the rounding
// entries "A0.05,A0.05,H1,...". Items are separated by "," and by blanks
// (bytes up to the space), so " A0.05 , H1" holds two items; an item in
// double quotes may hold commas and blanks, and "" inside it stands for one
// quote. Two commas in a row enclose an empty item, and so does a comma at
// the very end.
#include <string>
#include <string_view>
#include <vector>

namespace korvena::operations {

std::vector<std::string> SplitItemList(std::string_view line);

}  // namespace korvena::operations
