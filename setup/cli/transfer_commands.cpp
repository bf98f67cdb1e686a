// htx, fiscal-memory and sd: the long transfers, with a progress bar on a
// terminal. A file is written only once the whole transfer is in.
#include "argument_forms.h"
#include "cli_command.h"
#include "cli_failure.h"
#include "cli_files.h"
#include "korvena/operations/bulk_reads.h"
#include "korvena/operations/htx_upload.h"
#include "korvena/protocol/device_status.h"
#include "progress_meter.h"

namespace korvena::cli {
namespace {

constexpr int kHtxPacketBytes = 8;
constexpr const char* kFiscalMemoryFile = "korvena.bin";

Plan PlanHtx(Arguments& arguments) {
  arguments.NextOf("upload", {"upload"});
  const std::string path = arguments.Next("FILE");
  arguments.Done();
  const std::string htx = ReadInputFile(path, operations::kLargestHtx);
  if (htx.empty()) FailInvalid("htx upload: " + path + " is empty");
  return {true, [path, htx](DeviceSession& session) {
            ProgressMeter meter = ProgressMeter::OnTerminal("htx");
            const operations::HtxUploaded uploaded =
                operations::UploadHtx(session, htx, [&](const operations::HtxProgress& p) {
                  meter.Show(p.total == 0 ? 1.0 : static_cast<double>(p.sent) / p.total, htx.size());
                });
            if (!uploaded.loaded) {
              const std::optional<int> status = protocol::StatusOfAnswer(uploaded.finishReply);
              const session::SessionFailure why = status ? FailureOfKind(session::SessionFailure::kRefused, *status)
                                                         : FailureOfKind(session::SessionFailure::kNoAnswer);
              CliFailure failure = SessionFailureOf(why, "htx upload");
              failure.detail() = {{"packets", uploaded.progress.total}, {"packetErrors", uploaded.progress.errors}};
              throw failure;
            }
            return Result{{"file", path},
                          {"bytes", htx.size()},
                          {"packets", uploaded.progress.total},
                          {"resends", uploaded.progress.resends},
                          {"loaded", true}};
          }};
}

// The output file: -o FILE, else `fallback`.
std::string OutputFile(Arguments& arguments, const std::string& fallback) {
  return arguments.Option("-o").value_or(fallback);
}

Plan PlanFiscalMemory(Arguments& arguments) {
  const std::string path = OutputFile(arguments, kFiscalMemoryFile);
  arguments.NextOf("read", {"read"});
  arguments.Done();
  return {false, [path](DeviceSession& session) {
            ProgressMeter meter = ProgressMeter::OnTerminal("fiscal memory");
            const operations::BulkRead read = operations::ReadFiscalMemory(
                session, nullptr, [&](std::size_t count, std::size_t expected) {
                  meter.Show(static_cast<double>(count) / static_cast<double>(expected), expected);
                });
            if (read.bytes.empty())
              FailSession(FailureOfKind(session::SessionFailure::kNoAnswer), "fiscal-memory read");
            WriteOutputFile(path, read.bytes);
            return Result{{"file", path}, {"bytes", read.bytes.size()}};
          }};
}

Plan PlanSdDay(Arguments& arguments) {
  const std::optional<std::string> output = arguments.Option("-o");
  arguments.NextOf("read", {"read"});
  const std::string day = arguments.Next("YYYYMMDD");
  arguments.Done();
  const bool digits = day.size() == 8 && day.find_first_not_of("0123456789") == std::string::npos;
  if (!digits || !ValidDate({std::stoi(day.substr(0, 4)), std::stoi(day.substr(4, 2)), std::stoi(day.substr(6, 2))}))
    FailInvalid("sd read: the day must be a date YYYYMMDD, not \"" + day + "\"");
  const std::string path = output.value_or(day + ".tx");
  return {false, [day, path](DeviceSession& session) {
            ProgressMeter meter = ProgressMeter::OnTerminal(day);
            const operations::BulkRead read =
                operations::ReadSdDay(session, day, nullptr, [&](std::size_t count, std::size_t expected) {
                  meter.Show(static_cast<double>(count) / static_cast<double>(expected), expected);
                });
            // A day the device holds nothing of gives no file at all.
            if (!read.announced) return Result{{"day", day}, {"file", nullptr}, {"bytes", 0}};
            WriteOutputFile(path, read.bytes);
            return Result{{"day", day}, {"file", path}, {"bytes", read.bytes.size()}};
          }};
}

constexpr Command kCommands[] = {
    {"htx", "htx upload FILE",
     "Loads a compiled template file (at most 5120 bytes) into the device, 8 bytes a packet, each sent again "
     "while the device asks for it. Fails unless the device takes the whole template.",
     PlanHtx},
    {"fiscal-memory", "fiscal-memory read [-o FILE]",
     "Reads the whole fiscal memory (2 MiB at 115200 baud, about three minutes) into FILE (korvena.bin).",
     PlanFiscalMemory},
    {"sd", "sd read YYYYMMDD [-o FILE]",
     "Reads one day of the device's SD card into FILE (YYYYMMDD.tx). A day the device has nothing of writes no "
     "file; the result says so with \"file\": null.",
     PlanSdDay},
};

}  // namespace

std::span<const Command> TransferCommands() { return kCommands; }

}  // namespace korvena::cli
