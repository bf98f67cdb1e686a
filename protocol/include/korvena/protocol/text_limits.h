#pragma once
// The longest texts the device takes, in bytes of its code page: a program
// that checks a text before it sends it refuses longer ones.
#include <cstddef>

namespace korvena::protocol {

inline constexpr std::size_t kLongestLineText = 40;  // header and footer lines, sale lines, invoice texts
inline constexpr std::size_t kLongestDic = 16;
inline constexpr std::size_t kLongestDkp = 17;
inline constexpr std::size_t kLongestIcDph = 16;
inline constexpr std::size_t kLongestIco = 16;
inline constexpr std::size_t kLongestCurrencySymbol = 3;

}  // namespace korvena::protocol
