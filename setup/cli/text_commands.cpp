// header, footer, identity and texts: the device's texts, and the texts
// file that carries them from one device to the next.
#include "cli_command.h"
#include "cli_failure.h"
#include "cli_files.h"
#include "device_texts.h"
#include "korvena/operations/fiscal_identity.h"
#include "korvena/operations/header_footer.h"
#include "korvena/operations/texts_file.h"

namespace korvena::cli {
namespace {

using operations::DocumentLines;
using operations::DocumentPart;
using operations::TaxIdentity;

// Each identity value: its option, its name in a result, its longest text.
struct IdentityField {
  std::string_view option;
  std::string_view name;
  std::size_t longest;
  std::string TaxIdentity::*field;
};
constexpr IdentityField kIdentityFields[] = {
    {"--dic", "dic", kLongestDic, &TaxIdentity::dic},
    {"--dkp", "dkp", kLongestDkp, &TaxIdentity::dkp},
    {"--icdph", "icDph", kLongestIcDph, &TaxIdentity::icDph},
    {"--ico", "ico", kLongestIco, &TaxIdentity::ico},
};

Result LinesResult(const DocumentLines& lines) {
  Result shown = Result::array();
  for (const std::string& line : lines) shown.push_back(ShownLine(line));
  return shown;
}

Result IdentityResult(const TaxIdentity& identity) {
  Result result = Result::object();
  for (const IdentityField& field : kIdentityFields)
    result[std::string(field.name)] = ShownValue(identity.*field.field);
  return result;
}

void CheckLines(const DocumentLines& lines, const std::string& what) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    CheckDeviceBytes(lines[i], what + " line " + std::to_string(i + 1), kLongestLineText);
}

void CheckIdentity(const TaxIdentity& identity, const std::string& what) {
  for (const IdentityField& field : kIdentityFields)
    CheckDeviceBytes(identity.*field.field, what + std::string(field.name), field.longest);
}

Plan PlanDocumentLines(Arguments& arguments, DocumentPart part) {
  const std::string& name = arguments.command();
  if (arguments.NextOf("show or set", {"show", "set"}) == "show") {
    arguments.Done();
    return {false, [part](DeviceSession& session) {
              return Result{{"lines", LinesResult(operations::ReadDocumentLines(session, part))}};
            }};
  }
  DocumentLines lines;
  if (const std::optional<std::string> from = arguments.Option("--from")) {
    arguments.Done();
    const operations::TextsFile file = LoadTextsFile(*from);
    lines = operations::DocumentLinesOf(file, part);
    CheckLines(lines, *from + ": " + name);
  } else {
    const std::vector<std::string> texts = arguments.Rest();
    if (texts.size() != lines.size())
      FailUsage(name + " set: ten lines are needed (\"\" for an empty one), or --from FILE.set; " +
                std::to_string(texts.size()) + " given");
    for (std::size_t i = 0; i < lines.size(); ++i)
      lines[i] = DeviceText(texts[i], name + " line " + std::to_string(i + 1), kLongestLineText);
  }
  return {true, [part, lines, name](DeviceSession& session) {
            Require(operations::WriteDocumentLines(session, part, lines), name + " set");
            return Result{{"lines", LinesResult(operations::ReadDocumentLines(session, part))}};
          }};
}

Plan PlanHeader(Arguments& arguments) { return PlanDocumentLines(arguments, DocumentPart::kHeader); }
Plan PlanFooter(Arguments& arguments) { return PlanDocumentLines(arguments, DocumentPart::kFooter); }

Plan PlanIdentity(Arguments& arguments) {
  if (arguments.NextOf("show or set", {"show", "set"}) == "show") {
    arguments.Done();
    return {false, [](DeviceSession& session) { return IdentityResult(operations::ReadTaxIdentity(session)); }};
  }
  TaxIdentity identity;
  bool any = false;
  for (const IdentityField& field : kIdentityFields) {
    const std::optional<std::string> value = arguments.Option(field.option);
    if (!value) continue;
    // An empty value is never sent: the device keeps what it has.
    if (value->empty()) FailInvalid("identity: " + std::string(field.option) + " cannot be empty");
    identity.*field.field = DeviceText(*value, "identity " + std::string(field.option), field.longest);
    any = true;
  }
  arguments.Done();
  if (!any) FailUsage("identity set: give at least one of --dic, --dkp, --icdph, --ico");
  return {true, [identity](DeviceSession& session) {
            Require(operations::WriteTaxIdentity(session, identity).outcome, "identity set");
            return IdentityResult(operations::ReadTaxIdentity(session));
          }};
}

Result TextsResult(DeviceSession& session) {
  return {{"header", LinesResult(operations::ReadDocumentLines(session, DocumentPart::kHeader))},
          {"footer", LinesResult(operations::ReadDocumentLines(session, DocumentPart::kFooter))},
          {"identity", IdentityResult(operations::ReadTaxIdentity(session))}};
}

Plan PlanTexts(Arguments& arguments) {
  const std::string action = arguments.NextOf("save or load", {"save", "load"});
  const std::string path = arguments.Next("FILE.set");
  arguments.Done();
  if (action == "save")
    return {false, [path](DeviceSession& session) {
              const operations::TextsFile::Lines lines = operations::ReadTextsFileLines(session);
              SaveTextsFile(path, lines);
              return Result{{"file", path}, {"keys", lines.size()}};
            }};
  const operations::TextsFile file = LoadTextsFile(path);
  CheckLines(operations::DocumentLinesOf(file, DocumentPart::kHeader), path + ": header");
  CheckLines(operations::DocumentLinesOf(file, DocumentPart::kFooter), path + ": footer");
  CheckIdentity(operations::TaxIdentityOf(file), path + ": ");
  return {true, [file](DeviceSession& session) {
            Require(operations::WriteTextsFile(session, file).outcome, "texts load");
            return TextsResult(session);
          }};
}

constexpr Command kCommands[] = {
    {"header", "header show\nheader set LINE1 ... LINE10\nheader set --from FILE.set",
     "Shows or writes the ten header lines of the receipts. set writes all ten, from ten arguments (\"\" for an "
     "empty line) or from the HL1..HL10 lines of a texts file, then shows what the device holds. Each line "
     "holds at most 40 characters of the device's code page 852.",
     PlanHeader},
    {"footer", "footer show\nfooter set LINE1 ... LINE10\nfooter set --from FILE.set",
     "As header, for the ten footer lines (TL1..TL10 of a texts file).", PlanFooter},
    {"identity", "identity show\nidentity set [--dic X] [--dkp X] [--icdph X] [--ico X]",
     "Shows or writes the tax identity: DIC (at most 16 characters), DKP (17), IC DPH (16) and ICO (16). Only "
     "the values given are written, each read back.",
     PlanIdentity},
    {"texts", "texts save FILE.set\ntexts load FILE.set",
     "save writes the identity and the header and footer lines into a texts file (Windows-1250, as the service "
     "program writes it). load writes a texts file's header and footer lines and its identity values (the "
     "empty ones left alone) into the device, as the service program's dialogs do after loading it: the way "
     "to configure a new device like the last one.",
     PlanTexts},
};

}  // namespace

std::span<const Command> TextCommands() { return kCommands; }

}  // namespace korvena::cli
