// A port library from elsewhere: the six calls every port library has and
// nothing more. It never opens and never has a byte.
#include "korvport.h"

extern "C" {

KORVPORT_API uint8_t KORVPORT_CALL Open(int32_t, int32_t) { return 0; }
KORVPORT_API uint8_t KORVPORT_CALL Close(void) { return 1; }
KORVPORT_API uint8_t KORVPORT_CALL Read(void*, int32_t, int32_t) { return 0; }
KORVPORT_API uint8_t KORVPORT_CALL Write(const void*, int32_t, int32_t) { return 0; }
KORVPORT_API void KORVPORT_CALL SetPort(int32_t) {}
KORVPORT_API void KORVPORT_CALL Flush(void) {}

}
