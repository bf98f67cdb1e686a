#pragma once
// Whole-file reads and writes for the two programs. A file is written whole
// or not at all: an older file of the same name survives any failure.
#include <cstddef>
#include <string>
#include <string_view>

namespace korvena::hypertext {

enum class ReadStatus { Ok, CannotOpen, TooLong };

// Reads the file (its name matched without regard to case) when it holds at
// most `capacity` bytes.
ReadStatus ReadWholeFile(const std::string& path, std::size_t capacity, std::string& contents);

// Writes `bytes` beside the target under a temporary name, then renames it
// over the target (matched without regard to case). False on any failure.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace korvena::hypertext
