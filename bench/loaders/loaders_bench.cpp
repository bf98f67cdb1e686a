// Both loaders against a device paced at its line rate: how close the wall
// time of a whole run comes to what the protocol itself costs.
//
// Sendrix, 5,120-byte file at 9600 baud: the bytes on the wire (commands and
// answers), and the 250 ms pause before the length command.
// Goal: wall time within 5 % of the wire time.
//
// Brennix, 64 KiB image at 115200 baud: the bytes on the wire plus the reply
// polling the protocol prescribes: the connect pass waits 100 ms, each block's
// ACK is seen at the first 5 ms poll after it arrived, then 50 ms after the
// end mark and 250 ms before the port closes.
// Goal: wall time within 5 % of that.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "korvena/platform/scratch_folder.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/loaders/firmware_fixture.h"
#include "korvena/loaders/firmware_upload.h"
#include "korvena/link/htx_packets.h"
#include "korvena/emulator/program_run.h"
#include "korvena/loaders/xmodem_block.h"

namespace {

using namespace korvena;
using namespace korvena::loaders;

constexpr double kBitsPerByte = 10;

void BM_SendrixUpload5120At9600(benchmark::State& state) {
  const korvena::ScratchFolder scratch;
  const std::string& folder = scratch.path();
  const std::string file(5120, '\x5A');
  std::ofstream(folder + "/bench.htx", std::ios::binary) << file;

  // Three identification exchanges, the packets, the length; each answered "0" CR.
  double bytes = 3 * (7 + 2);
  for (uint32_t k = 0; k <= HtxLastPacketNumber(file.size()); ++k)
    bytes += HtxPacketCommand(kSendrixPassword, k, HtxPacketAt(file, k)).size() + 2;
  bytes += HtxLengthCommand(kSendrixPassword, 5120, HtxFileSum(file)).size() + 2;
  const double wire = bytes * kBitsPerByte / 9600;

  korvena::emu::EmuProcess emulator;
  if (!emulator.Start({"--pace", "--baud", "9600"}, 13)) return state.SkipWithError("emulator did not start");
  double wall = 0;
  for (auto _ : state) wall = korvena::emu::RunBuiltProgram("sendrix", {"-c13", "-h" + folder + "/bench.htx", "-v0"}, folder).seconds;
  state.counters["wire_s"] = wire;
  state.counters["wall_s"] = wall;
  state.counters["ratio_to_wire"] = wall / wire;
  state.counters["ratio_to_wire_and_pause"] = wall / (wire + 0.250);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SendrixUpload5120At9600)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_BrennixUpload64KiBAt115200(benchmark::State& state) {
  const korvena::ScratchFolder scratch;
  const std::string& folder = scratch.path();
  constexpr uint32_t kImageSize = 64 * 1024;
  std::ofstream(folder + "/korvena.fw", std::ios::binary)
      << testing::MakeFirmwareFile(testing::SampleImage(150, 1), testing::SampleImage(kImageSize, 2));

  const double byteSeconds = kBitsPerByte / 115200;
  const uint32_t blocks = DisplayedBlockCount(kImageSize) + 1;
  // The connect byte and its "C", every block and its ACK, the end mark.
  const double wire = (2 + blocks * (kBlockSize + 1) + 1) * byteSeconds;
  const double pollMs = FirmwareUpload::kReplyPollMs;
  const double ackSeenMs = std::ceil((kBlockSize + 1) * byteSeconds * 1000 / pollMs) * pollMs;
  const double prescribed = 0.100 + blocks * ackSeenMs / 1000 + 0.050 + 0.250;

  korvena::emu::EmuProcess emulator;
  if (!emulator.Start({"--pace", "--boot-loader"}, 14)) return state.SkipWithError("emulator did not start");
  double wall = 0;
  for (auto _ : state) wall = korvena::emu::RunBuiltProgram("brennix", {"-c14"}, folder).seconds;
  state.counters["wire_s"] = wire;
  state.counters["prescribed_s"] = prescribed;
  state.counters["wall_s"] = wall;
  state.counters["ratio_to_prescribed"] = wall / prescribed;
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_BrennixUpload64KiBAt115200)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
