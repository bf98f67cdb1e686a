#include "shell/exchange_guard.h"

namespace korvena::kalibro {

void ExchangeGuard::Enter() {
  if (depth_++ == 0 && onBusyChanged) onBusyChanged(true);
}

void ExchangeGuard::Leave() {
  if (--depth_ == 0 && onBusyChanged) onBusyChanged(false);
}

}  // namespace korvena::kalibro
