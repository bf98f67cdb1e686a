// Compiling the largest source tekstor accepts: about 64 KB of ordinary
// statements, all 25 sections, constants, text lists and label references.
// The goal is under 5 ms a compilation.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "korvena/hypertext/compiler.h"
#include "korvena/hypertext/htx_format.h"
#include "korvena/hypertext/tekstor.h"

namespace {

using namespace korvena;

std::string Line(const std::string& text) { return text + "\r\n"; }

// A realistic template source just under the buffer size.
std::string LargestSource() {
  std::string source;
  source += Line("; generated benchmark templates");
  source += Line("#const WIDTH = 32");
  source += Line("#const SHOP = \"KORVENA BENCH s.r.o.\"");
  source += Line("#const RULE = \"--------------------------------\"");
  for (int v = 1; v <= 40; ++v) source += Line("#const VAR" + std::to_string(v) + " = " + std::to_string(v));
  for (int i = 0; i < 20; ++i) source += Line("G, Piece" + std::to_string(i));
  std::string body;
  int section = 0;
  int round = 0;
  // Statements repeat per section until the source is nearly full; the
  // label section at the end must still fit.
  const std::size_t room = htx::kCapacity - 1500;
  while (source.size() + body.size() < room) {
    const std::string n = std::to_string(round % 40 + 1);
    body += Line("; item " + std::to_string(round));
    body += Line("        V, 0, 1 | 8, 0");
    body += Line("        T, SHOP \" \" (WIDTH - 2) \" znakov\"");
    body += Line("        S, VAR" + n + ", WIDTH - 10, 2");
    body += Line("        I, VAR" + n + ", Piece" + std::to_string(round % 20) + ", (1 << 3) + 1");
    body += Line("#ifdef ver40");
    body += Line("        T, \"Riadok \\x9F. \" VAR" + n + " \"\\t\" RULE");
    body += Line("#else");
    body += Line("        T, \"unused\"");
    body += Line("#endif");
    body += Line("        B, 0x0A");
    ++round;
    if (round % 120 == 0 && section < htx::kFixedSectionCount) {
      source += Line("L, " + std::string(htx::FixedSectionName(++section)));
      source += body + Line("        R");
      body.clear();
    }
  }
  source += body;
  while (section < htx::kFixedSectionCount) source += Line("L, " + std::string(htx::FixedSectionName(++section)));
  for (int i = 0; i < 20; ++i) source += Line("L, Piece" + std::to_string(i)) + Line("        R");
  return source;
}

void BM_CompileLargestSource(benchmark::State& state) {
  const std::string source = LargestSource();
  std::ostringstream check;
  const hypertext::CompileResult first = hypertext::CompileSource(source, "BENCH.DTX", check);
  if (first.errors || source.size() > htx::kCapacity) {
    state.SkipWithError(("benchmark source does not compile: " + check.str().substr(0, 300)).c_str());
    return;
  }
  for (auto _ : state) {
    std::ostringstream console;
    benchmark::DoNotOptimize(hypertext::CompileSource(source, "BENCH.DTX", console));
  }
  state.counters["source_bytes"] = static_cast<double>(source.size());
  state.counters["htx_bytes"] = static_cast<double>(first.htx.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}
BENCHMARK(BM_CompileLargestSource)->Unit(benchmark::kMillisecond);

// The same through the program: reading the file and writing the HTX file.
void BM_TekstorProgramOnLargestSource(benchmark::State& state) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "tekstor-bench";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "BENCH").string();
  std::ofstream(path + ".DTX", std::ios::binary) << LargestSource();
  for (auto _ : state) {
    std::ostringstream console;
    hypertext::RunTekstor({path}, console);
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_TekstorProgramOnLargestSource)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
