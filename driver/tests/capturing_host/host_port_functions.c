/*
 * A point-of-sale application that happens to define functions named like
 * the port library's. Linked into the example client with its symbols
 * exported, they are what the process's global lookup finds first; the
 * driver must still reach the port library's own functions.
 */
#include <stdint.h>

uint8_t Open(int32_t port, int32_t baud) {
  (void)port;
  (void)baud;
  return 0;
}

uint8_t Close(void) { return 0; }

uint8_t Read(void* buffer, int32_t option, int32_t count) {
  (void)buffer;
  (void)option;
  (void)count;
  return 0;
}

uint8_t Write(const void* bytes, int32_t option, int32_t count) {
  (void)bytes;
  (void)option;
  (void)count;
  return 0;
}
