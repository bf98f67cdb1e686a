#include "shell/window_wait.h"

#include <QCoreApplication>

namespace korvena::kalibro {

void LetTheWindowLive() { QCoreApplication::processEvents(kWhileWaiting); }

}  // namespace korvena::kalibro
