#include "korvena/hypertext/tekstor.h"

#include <string_view>

#include "file_naming.h"
#include "korvena/hypertext/compiler.h"
#include "korvena/hypertext/htx_format.h"
#include "korvena/platform/whole_files.h"
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

  const FileContents source = ReadWholeFile(names.source, htx::kCapacity);
  switch (source.status) {
    case FileContents::kMissing:
    case FileContents::kUnreadable:
      console << MessageText(Message::CannotOpenSource) << kEol;
      return 0;
    case FileContents::kTooLarge:
      console << MessageText(Message::SourceTooLong) << kEol;
      return 0;
    case FileContents::kRead:
      break;
  }

  const CompileResult result = CompileSource(source.bytes, names.source, console);
  if (result.errors) return 0;
  // The HTX file must never take the place of the source it was compiled
  // from; that destination is refused like one that cannot be created.
  if (DestinationIsSource(names) || !WriteWholeFile(names.destination, result.htx))
    console << '\r' << MessageText(Message::CannotCreateDestination) << kEol;
  return 0;
}

}  // namespace korvena::hypertext
