/*
 * linked-client: a till that links against KvorW32 at build time instead of
 * loading it at run time. It starts the library, prints one receipt, reads
 * the device's version and stops; exit status 0 when every step answered 0.
 *
 * Built against an installed suite, either way:
 *   cmake -S examples/linked-client -B /tmp/lc && cmake --build /tmp/lc
 *   cc linked_client.c $(pkg-config --cflags --libs kvorw32) -o linked-client
 */
#include <stdio.h>

#include "kvorw32.h"

/* ESC, the command text and CR, one character at a time; the CR's result. */
static unsigned Send(const char* command) {
  unsigned result = KorvenaWrite(0x1B);
  for (const char* c = command; *c != '\0'; ++c) result = KorvenaWrite((unsigned char)*c);
  result = KorvenaWrite('\r');
  printf("  %-28s -> %u\n", command, result);
  return result;
}

int main(void) {
  const unsigned started = StartLibProc();
  printf("StartLibProc -> %u\n", started);
  if (started != 0) return 1;
  int failures = 0;
  failures += Send(";S;0") != 0;
  failures += Send(";L;1.000;0.80;A;Rozok") != 0;
  failures += Send(";K;1.00;0;0;0;0;0") != 0;
  failures += Send(";IV;5") != 0;
  printf("  version: ");
  for (unsigned c = KorvenaRead(); c != 13 && c != 255; c = KorvenaRead()) putchar((int)c);
  putchar('\n');
  ExitLibProc();
  return failures == 0 ? 0 : 1;
}
