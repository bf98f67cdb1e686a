#include "tekstor.h"

#include <string_view>

#include "compiler.h"
#include "file_io.h"
#include "file_names.h"
#include "htx_format.h"
#include "messages.h"
#include "reader.h"

namespace korvena::hypertext {

namespace {

constexpr std::string_view kBanner = "KORVENA.2010 HyperTeXt Compiler 3.0.0";
constexpr std::string_view kAuthor = "Template compiler of the Korvena fiscal printer, (c) Korvena";

bool AsksForUsage(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return true;
  for (std::string_view help : {"-h", "/h", "-H", "/H", "-?", "/?"})
    if (arguments[0] == help) return true;
  return false;
}

void PrintUsage(std::ostream& console) {
  console << "  Usage:  TEKSTOR <DTX file>[.DTX] [<HTX file>[.HTX]]" << kEol << kEol
          << "     DTX file = Hypertext source file" << kEol << "     HTX file = Compiled Hypertext file" << kEol
          << kEol;
}

}  // namespace

int RunTekstor(const std::vector<std::string>& arguments, std::ostream& console) {
  console << kBanner << kEol << kAuthor << kEol << kEol;
  if (AsksForUsage(arguments)) {
    PrintUsage(console);
    return 0;
  }
  const FileNames names = DeriveFileNames(arguments);

  std::string source;
  switch (ReadWholeFile(names.source, htx::kCapacity, source)) {
    case ReadStatus::CannotOpen:
      console << MessageText(Message::CannotOpenSource) << kEol;
      return 0;
    case ReadStatus::TooLong:
      console << MessageText(Message::SourceTooLong) << kEol;
      return 0;
    case ReadStatus::Ok:
      break;
  }

  const CompileResult result = CompileSource(source, names.source, console);
  if (result.errors) return 0;
  if (!WriteWholeFile(names.destination, result.htx))
    console << '\r' << MessageText(Message::CannotCreateDestination) << kEol;
  return 0;
}

}  // namespace korvena::hypertext
