#include "file_naming.h"

#include "korvena/platform/file_names.h"

namespace korvena::hypertext {

FileNames DeriveFileNames(const std::vector<std::string>& arguments) {
  FileNames names;
  names.source = arguments.at(0);
  if (names.source.find('.') == std::string::npos) names.source += ".DTX";
  names.destination = arguments.size() > 1 ? arguments[1] : names.source.substr(0, names.source.find('.'));
  if (names.destination.find('.') == std::string::npos) names.destination += ".HTX";
  return names;
}

bool DestinationIsSource(const FileNames& names) {
  const std::string source = ResolveFileName(names.source);
  const std::string destination = ResolveFileName(names.destination);
  // Links followed: a source that is a link must not lose its file either.
  return EqualsIgnoringCase(source, destination) || IsSameFile(source, destination);
}

}  // namespace korvena::hypertext
