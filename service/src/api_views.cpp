#include "korvena/service/api_views.h"

#include <ctime>

#include "encodings/unicode_code_pages.h"
#include "korvena/protocol/amounts.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/protocol/register_flags.h"

namespace korvena::service {
namespace {

using Json = nlohmann::ordered_json;
namespace info = protocol::info;

// The device keeps its texts in code page 852.
std::string Value(const DeviceView& view, int number) {
  const auto value = view.values.find(number);
  return value == view.values.end() ? std::string() : encodings::CodePage852ToUtf8(value->second);
}

Json TimeOrNull(const std::optional<int64_t>& ms) { return ms ? Json(IsoTime(*ms)) : Json(); }

Json Parsed(const std::optional<std::string>& text) {
  if (!text) return Json();
  try {
    return Json::parse(*text);
  } catch (const Json::exception&) {
    return Json(*text);
  }
}

// Bytes of a frame or an answer, shown as text with the control bytes named.
std::string Shown(const std::string& bytes) {
  std::string shown;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0x1B) shown += "<ESC>";
    else if (byte == '\r') shown += "<CR>";
    else if (byte < 0x20) shown += "<" + std::to_string(byte) + ">";
    else shown += encodings::CodePage852ToUtf8(std::string(1, c));
  }
  return shown;
}

}  // namespace

std::string IsoTime(int64_t ms) {
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(ms % 1000));
  return text;
}

Json DeviceJson(const DeviceView& view) {
  return {{"id", view.id},
          {"state", DeviceStateName(view.state)},
          {"baud", view.baud},
          {"version", Value(view, info::kVersionText)},
          {"serialNumber", Value(view, info::kSerialNumber)},
          {"dkp", Value(view, info::kDkp)},
          {"dic", Value(view, info::kDic)},
          {"queueLength", view.queueLength}};
}

Json StatusJson(const DeviceView& view) {
  Json status = {{"id", view.id}, {"state", DeviceStateName(view.state)}, {"asOf", TimeOrNull(view.asOf)}};
  for (const auto& [number, answer] : view.values) {
    const std::optional<protocol::InfoNumber> entry = protocol::FindInfo(number);
    if (!entry) continue;
    if (entry->form != protocol::InfoForm::kFlags) {
      status[std::string(entry->name)] = Value(view, number);
      continue;
    }
    const std::optional<int64_t> bits = protocol::ParseDecimal(answer, 0);
    Json names = Json::array();
    for (const protocol::RegisterFlagInfo& flag : protocol::RegisterFlagTable())
      if (bits && (static_cast<uint64_t>(*bits) & flag.bit) != 0) names.push_back(flag.name);
    status[std::string(entry->name)] = names;
  }
  return status;
}

Json JobJson(const JobRecord& job, const std::vector<FrameRecord>& frames) {
  Json view = {{"key", job.key},
               {"device", job.device},
               {"kind", job.kind},
               {"state", JobStateName(job.state)},
               {"request", Parsed(job.request)},
               {"result", Parsed(job.result)},
               {"times",
                {{"accepted", IsoTime(job.acceptedAt)},
                 {"started", TimeOrNull(job.startedAt)},
                 {"finished", TimeOrNull(job.finishedAt)}}}};
  if (frames.empty()) return view;
  Json shown = Json::array();
  for (const FrameRecord& frame : frames)
    shown.push_back({{"n", frame.n},
                     {"purpose", frame.purpose},
                     {"frame", Shown(frame.frame)},
                     {"outcome", frame.outcome},
                     {"answer", frame.answer ? Json(Shown(*frame.answer)) : Json()},
                     {"at", IsoTime(frame.at)}});
  view["frames"] = shown;
  return view;
}

}  // namespace korvena::service
