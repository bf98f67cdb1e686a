#include "shell/file_error.h"

#include <QFile>

namespace korvena::kalibro {
namespace {

QString Reason(FileContents::Status status) {
  switch (status) {
    case FileContents::kMissing: return "The file does not exist.";
    case FileContents::kTooLarge: return "The file is too large.";
    default: return "The file cannot be read.";
  }
}

}  // namespace

FileError::FileError(Action action, const std::string& path, FileContents::Status status)
    : std::runtime_error("file error: " + path) {
  const QString name = QFile::decodeName(path.c_str());
  message_ = action == kCannotOpen ? QString("Cannot open file \"%1\". %2").arg(name, Reason(status))
                                   : QString("Cannot create file \"%1\".").arg(name);
}

}  // namespace korvena::kalibro
