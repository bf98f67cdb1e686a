#pragma once
// A file a command needed could not be read or written. The command ends
// with an error box naming the file (the command runner shows it), the way
// the program reports every file problem.
#include <QString>
#include <stdexcept>
#include <string>

#include "korvena/platform/whole_files.h"

namespace korvena::kalibro {

class FileError : public std::runtime_error {
 public:
  enum Action { kCannotOpen, kCannotCreate };

  // `path` in the file system's encoding; `status` says why a read failed.
  FileError(Action action, const std::string& path, FileContents::Status status = FileContents::kUnreadable);

  // The text of the error box.
  const QString& message() const { return message_; }

 private:
  QString message_;
};

}  // namespace korvena::kalibro
