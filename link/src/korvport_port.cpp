#include "korvena/link/korvport_port.h"

#include "korvport.h"

namespace korvena {

uint8_t KorvportPort::Open(int32_t port, int32_t baud) { return ::Open(port, baud); }
uint8_t KorvportPort::Close() { return ::Close(); }
uint8_t KorvportPort::Read(uint8_t& byte) { return ::Read(&byte, 0, 1); }
uint8_t KorvportPort::Write(const void* bytes, int32_t option, int32_t count) { return ::Write(bytes, option, count); }
void KorvportPort::SetPort(int32_t baud) { ::SetPort(baud); }
void KorvportPort::Flush() { ::Flush(); }

}  // namespace korvena
