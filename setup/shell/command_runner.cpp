#include "shell/command_runner.h"

#include <exception>

#include "shell/file_error.h"
#include "shell/kalibro_texts.h"
#include "shell/responsive_line.h"
#include "shell/windows1250.h"

namespace korvena::kalibro {

bool CommandRunner::RunMenuCommand(const QString& name) {
  const auto handler = handlers_.find(name);
  if (handler != handlers_.end()) return RunExclusive(handler->second);
  // A menu item must never just do nothing: one that has no command yet says so.
  if (guard_.busy()) return false;
  ui_.ShowInformation(Text(kNotAvailableYet));
  return false;
}

bool CommandRunner::RunExclusive(const Handler& sequence) {
  if (guard_.busy()) return false;
  ExchangeScope scope(guard_);
  try {
    sequence();
  } catch (const SequenceInterrupted&) {
    // The window is closing: the sequence just ends.
  } catch (const FileError& error) {
    ui_.ShowError(error.message());
  } catch (const std::exception& error) {
    // Error texts may quote the device's answers, which are 8-bit PC text.
    ui_.ShowError(FromWindows1250(error.what()));
  } catch (...) {
    ui_.ShowError(QStringLiteral("Unexpected error"));
  }
  return true;
}

}  // namespace korvena::kalibro
