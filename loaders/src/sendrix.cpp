#include "korvena/loaders/sendrix.h"

#include "korvena/loaders/htx_file.h"
#include "korvena/link/htx_packets.h"
#include "korvena/loaders/spinner.h"

namespace korvena::loaders {
namespace {

const char kClosingLines[] =
    "\n"
    "Program Sendrix\n"
    "Korvena 2010 - nahravanie HTX sablon do FT\n";


std::string FileProblem(const HtxFile& file, const std::string& name) {
  switch (file.status) {
    case HtxFile::kMissing:
      return "Subor " + name + " nebol najdeny !";
    case HtxFile::kTooLarge:
      return "Subor " + name + " je vacsi ako " + std::to_string(kHtxBufferSize) + " bajtov !";
    default:
      return "Subor " + name + " sa neda precitat !";
  }
}

}  // namespace

void Sendrix::Say(const std::string& line) {
  if (settings_.showOutput) console_ << line << '\n' << std::flush;
}

void Sendrix::Run(const SendrixSettings& settings) {
  settings_ = settings;
  // What Open returns is not looked at: a port that did not open fails the
  // baud search that follows.
  try {
    port_.Open(settings_.port, kOpenBaud);
  } catch (...) {
    Say("Nie je mozne otvorit COM port !!!");
    return;
  }
  if (link_.FindBaudRate() == 0) {
    Say("Korvena-2010 nebol najdeny na COM porte !!!");
    port_.Close();
    return;
  }
  Say(Upload() ? "HTX bol nahrany do FT." : "HTX sa nepodarilo sa nahrat do FT");
  port_.Close();
  console_ << kClosingLines << std::flush;
}

bool Sendrix::Upload() {
  const HtxFile file = ReadHtxFile(settings_.fileName);
  if (file.status != HtxFile::kRead) {
    Say(FileProblem(file, settings_.fileName));
    return false;
  }
  if (!SendPackets(file.bytes)) return false;
  console_ << '\n' << std::flush;
  link_.clock().Sleep(kPauseBeforeLengthMs);
  link_.SendText(HtxLengthCommand(kSendrixPassword, static_cast<uint32_t>(file.bytes.size()), HtxFileSum(file.bytes)));
  if (link_.ReadResponse(kAnswerLimitMs).empty()) {
    Say("HTX error 2");
    return false;
  }
  return true;
}

bool Sendrix::SendPackets(const std::string& file) {
  const uint32_t last = HtxLastPacketNumber(file.size());
  for (uint32_t number = 0; number <= last; ++number) {
    link_.SendText(HtxPacketCommand(kSendrixPassword, number, HtxPacketAt(file, number)));
    if (link_.ReadResponse(kAnswerLimitMs).empty()) {
      Say("HTX error");
      return false;
    }
    if (settings_.showOutput)
      console_ << "Packet [" << number << "/" << last << "]   " << SpinnerAt(number) << '\r' << std::flush;
  }
  return true;
}

int RunSendrix(const std::vector<std::string>& arguments, Port& port, Clock& clock, std::ostream& console) {
  const auto settings = ParseSendrixArguments(arguments);
  if (!settings) {
    console << kSendrixUsage << std::flush;
    return 0;
  }
  Sendrix(port, clock, console).Run(*settings);
  return 0;
}

}  // namespace korvena::loaders
