#pragma once
// Kalibro's connection state is its device session's.
#include "korvena/session/connection_state.h"

namespace korvena::kalibro {

using session::ConnectionState;

}  // namespace korvena::kalibro
