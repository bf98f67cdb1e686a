#pragma once
// Console text the loaders must print, spelled out for the tests that run
// them in-process and as real programs.
#include <cstdint>
#include <string>

namespace korvena::loaders::testing {

inline const std::string kSendrixClosing = "\nProgram Sendrix\nKorvena 2010 - nahravanie HTX sablon do FT\n";
inline const std::string kBrennixClosing = "\nProgram Brennix\nKorvena 2010 - nahravanie firmveru do FT\n";

// Sendrix's progress for a file of `size` bytes, every packet answered.
inline std::string SendrixProgress(std::size_t size) {
  static const char bars[] = "-\\|/";
  std::string lines;
  for (std::size_t k = 0; k <= size / 8; ++k)
    lines += "Packet [" + std::to_string(k) + "/" + std::to_string(size / 8) + "]   " + bars[k % 4] + "\r";
  return lines;
}

// Waking a boot loader that never answers: 40 passes, then the line ends.
inline std::string UnansweredWake() {
  static const char bars[] = "-\\|/";
  std::string lines;
  for (int counter = 2; counter <= 41; ++counter)
    lines += "$ <" + std::to_string(counter) + "> send connect string: " + bars[counter % 4] + "\r";
  return lines + "\n";
}

inline const std::string kAnsweredAtOnce = "$ <2> send connect string: |\r\n";

// Uploads of the two sample images the tests use, each just above the
// smallest firmware of its processor: image 1 of 150 bytes, image 2 of 250
// bytes (3 blocks each), every block taken at once.
inline const std::string kUploadOfImage1 =
    "size (1)= 150\n"
    " > Packet [0/2], data [0.1k/0.1k] retry [0/0]\r"
    " > Packet [1/2], data [0.2k/0.1k] retry [0/0]\r"
    " > Packet [2/2], data [0.4k/0.1k] retry [0/0]\r"
    "\nV Update Success\n";
inline const std::string kUploadOfImage2 =
    "size (2)= 250\n"
    " > Packet [0/2], data [0.1k/0.2k] retry [0/0]\r"
    " > Packet [1/2], data [0.2k/0.2k] retry [0/0]\r"
    " > Packet [2/2], data [0.4k/0.2k] retry [0/0]\r"
    "\nV Update Success\n";

// Image 2 again, its first block refused three times before it is taken.
inline const std::string kUploadOfImage2FirstBlockRefusedThrice =
    "size (2)= 250\n"
    " > Packet [0/2], data [0.1k/0.2k] retry [0/0]\r"
    " > Packet [0/2], data [0.1k/0.2k] retry [1/1]\r"
    " > Packet [0/2], data [0.1k/0.2k] retry [2/2]\r"
    " > Packet [0/2], data [0.1k/0.2k] retry [3/3]\r"
    " > Packet [1/2], data [0.2k/0.2k] retry [0/3]\r"
    " > Packet [2/2], data [0.4k/0.2k] retry [0/3]\r"
    "\nV Update Success\n";

}  // namespace korvena::loaders::testing
