#pragma once
// What the device keeps for the two loaders: the template (HTX) upload and
// the firmware boot loader, with the switches that shape them.
#include <cstdint>
#include <string>

namespace korvena::emu {

// The two processors the device is built with; the boot loader answers only
// its own processor's connect byte.
enum class Processor { kMega128, kMega1281 };

struct LoaderSettings {
  Processor processor = Processor::kMega1281;
  bool startInBootLoader = false;   // as just switched on, waiting for firmware
  bool silentBootLoader = false;    // the boot loader never answers
  uint32_t nakStorm = 0;            // the boot loader refuses each block this many times first
  uint32_t nakBlock = 0;            // ... only the block at this position (1-based) when not 0
  std::string dumpDir = {};         // htx.bin and firmware.bin are written here when a load completes
  uint32_t htxResends = 0;          // the first this many template packets are answered "send again"
};

struct LoaderState {
  // The template upload in progress: the packets so far, in order.
  std::string htxIncoming;
  uint32_t htxNextPacket = 0;
  // Packets answered "send again" by the htxResends switch so far.
  uint32_t htxPacketsAskedAgain = 0;
  // The template of the last upload whose length and sum were right.
  std::string htx;
  // Every data byte the boot loader took in its last completed transfer,
  // blocks past the image's end included.
  std::string firmware;
  uint32_t firmwareTransfers = 0;
  // Blocks refused with NAK, over the device's life.
  uint32_t blocksRefused = 0;
};

}  // namespace korvena::emu
