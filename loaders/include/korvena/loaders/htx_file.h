#pragma once
// Reading the HTX file that Sendrix loads: whole, into a buffer of the size
// the device takes, or a reason why not.
#include <cstddef>
#include <string>

#include "korvena/link/htx_packets.h"
#include "korvena/platform/whole_files.h"

namespace korvena::loaders {

using HtxFile = FileContents;

// Finds `name` without regard to case and reads it. A file over
// kHtxBufferSize bytes is refused rather than cut.
inline HtxFile ReadHtxFile(const std::string& name) { return ReadWholeFile(name, kHtxBufferSize); }

}  // namespace korvena::loaders
