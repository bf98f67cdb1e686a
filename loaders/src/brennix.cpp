#include "korvena/loaders/brennix.h"

#include "korvena/loaders/firmware_upload.h"
#include "korvena/loaders/spinner.h"
#include "korvena/protocol/frame.h"

namespace korvena::loaders {
namespace {

const char kClosingLines[] =
    "\n"
    "Program Brennix\n"
    "Korvena 2010 - nahravanie firmveru do FT\n";

constexpr uint8_t kBootLoaderReady = 'C';

std::string FileProblem(FirmwareFile::Status status) {
  const std::string file = std::string("Subor ") + kFirmwareFileName;
  switch (status) {
    case FirmwareFile::kMissing:
      return file + " nebol najdeny !";
    case FirmwareFile::kTooShort:
      return file + " je prilis kratky !";
    case FirmwareFile::kTooLarge:
      return file + " je prilis velky !";
    default:
      return file + " sa neda precitat !";
  }
}

}  // namespace

void Brennix::Run(const BrennixSettings& settings, const std::string& firmwarePath) {
  // A bad file stops the run before anything reaches the device, the restart
  // included: a device sent into its boot loader expects firmware next.
  const FirmwareFile firmware = ReadFirmwareFile(firmwarePath);
  if (firmware.status != FirmwareFile::kRead) {
    console_ << FileProblem(firmware.status) << '\n' << kClosingLines << std::flush;
    return;
  }
  // Either image may be the one sent: the device says which only after it
  // has entered its boot loader, and then it waits for blocks.
  if (const int number = FirstTooSmallImage(firmware); number != 0) {
    console_ << "Subor " << kFirmwareFileName << ": obraz (" << number << ") je prilis maly ("
             << firmware.Image(number).size << " bajtov, najmenej " << SmallestFirmwareImage(number) << ") !\n"
             << kClosingLines << std::flush;
    return;
  }
  try {
    if (settings.restart) {
      Restart(settings.port);
      port_.SetPort(kBootLoaderBaud);
    } else {
      port_.Open(settings.port, kBootLoaderBaud);
    }
  } catch (...) {
    if (settings.showMessages) console_ << "Nie je mozne otvorit COM port !!!\n" << std::flush;
    return;
  }
  console_ << "Testujem COM" << static_cast<int>(settings.port) << '\n' << std::flush;
  ConnectAndUpload(firmware);
  link_.clock().Sleep(kPauseBeforeCloseMs);
  port_.Close();
  console_ << kClosingLines << std::flush;
}

void Brennix::Restart(uint8_t port) {
  // A device that cannot be reached is not restarted, and nothing is said.
  if (port_.Open(port, kRestartBaud) == 0 || link_.FindBaudRate() == 0) return;
  link_.SendText(protocol::CommandFrame("RESET"));
  link_.ReadResponse(kResetAnswerLimitMs);
}

bool Brennix::WakeBootLoader(uint8_t connectByte) {
  uint8_t answer = connectByte;
  uint32_t counter = 1;
  do {
    ++counter;
    port_.Write(&connectByte, 0, 1);
    link_.clock().Sleep(kWakePauseMs);
    // Whatever came, or the connect byte itself when nothing did.
    answer = connectByte;
    port_.Read(answer);
    console_ << "$ <" << counter << "> send connect string: " << SpinnerAt(counter) << '\r' << std::flush;
  } while (answer != kBootLoaderReady && counter < kLastWakeCounter);
  console_ << '\n' << std::flush;
  return answer == kBootLoaderReady;
}

void Brennix::ConnectAndUpload(const FirmwareFile& firmware) {
  FirmwareUpload upload(port_, link_.clock(), console_);
  if (WakeBootLoader(kMega1281Connect)) {
    console_ << "V Connect success found Mega1281\n" << std::flush;
    upload.Run(firmware.Image(2));
  } else if (WakeBootLoader(kMega128Connect)) {
    console_ << "V Connect success found Mega128\n" << std::flush;
    upload.Run(firmware.Image(1));
  } else {
    console_ << "X Connect Fail !\n" << std::flush;
  }
}

int RunBrennix(const std::string& iniPath, const std::vector<std::string>& arguments, const std::string& firmwarePath,
               Port& port, Clock& clock, std::ostream& console) {
  const auto settings = ReadBrennixSettings(iniPath, arguments);
  if (!settings) {
    console << kBrennixUsage << std::flush;
    return 0;
  }
  Brennix(port, clock, console).Run(*settings, firmwarePath);
  return 0;
}

}  // namespace korvena::loaders
