/*
 * korvena-pos-client: a small point-of-sale client of the driver library.
 * It loads libkvorw32.so at run time, as a till application does, starts it,
 * prints one receipt (open, two lines, close with a cash payment), reads the
 * device's version text with an IV command and stops.
 *
 *   korvena-pos-client [path/to/libkvorw32.so]      (KvorW32.dll on Windows)
 *
 * The library reads KVORWXX.INI from its own folder; Com=1 with the line
 * KORVPORT_COM1=<pty> in the environment reaches the emulated device.
 */
#include <stdio.h>
#include <string.h>

#if defined(_WIN32)
#include <windows.h>
#define LIBRARY_NAME "KvorW32.dll"
static void* OpenLibrary(const char* path) { return (void*)LoadLibraryA(path); }
static void* Symbol(void* library, const char* name) {
  /* The address is carried as data, as dlsym hands it out elsewhere. */
  FARPROC function = GetProcAddress((HMODULE)library, name);
  void* address = NULL;
  memcpy(&address, &function, sizeof address);
  return address;
}
static const char* LoadError(void) { return "the library cannot be loaded"; }
#else
#include <dlfcn.h>
#define LIBRARY_NAME "libkvorw32.so"
static void* OpenLibrary(const char* path) { return dlopen(path, RTLD_NOW); }
static void* Symbol(void* library, const char* name) { return dlsym(library, name); }
static const char* LoadError(void) { return dlerror(); }
#endif

#include "kvorw32.h"

static KvorStartLibProcFn startLibProc;
static KvorExitLibProcFn exitLibProc;
static KvorWriteFn korvenaWrite;
static KvorReadFn korvenaRead;

/* Sends ESC, the command text and CR one character at a time; the result of
 * the CR is the device's answer. */
static unsigned Send(const char* command) {
  unsigned result = korvenaWrite(0x1B);
  for (const char* c = command; *c != '\0'; ++c) result = korvenaWrite((unsigned char)*c);
  result = korvenaWrite('\r');
  printf("  %-32s -> %u\n", command, result);
  return result;
}

static int Load(const char* path) {
  void* library = OpenLibrary(path);
  if (library == NULL) {
    fprintf(stderr, "korvena-pos-client: %s: %s\n", path, LoadError());
    return 0;
  }
  /* Both platforms let a data pointer carry a function address here. */
  *(void**)&startLibProc = Symbol(library, "StartLibProc");
  *(void**)&exitLibProc = Symbol(library, "ExitLibProc");
  *(void**)&korvenaWrite = Symbol(library, "KorvenaWrite");
  *(void**)&korvenaRead = Symbol(library, "KorvenaRead");
  if (!startLibProc || !exitLibProc || !korvenaWrite || !korvenaRead) {
    fprintf(stderr, "korvena-pos-client: %s lacks the KvorW32 exports\n", path);
    return 0;
  }
  return 1;
}

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : LIBRARY_NAME;
  if (!Load(path)) return 1;

  const unsigned started = startLibProc();
  printf("StartLibProc -> %u\n", started);
  if (started != 0) return 1;

  int failures = 0;
  printf("Receipt:\n");
  failures += Send(";S;0") != 0;
  failures += Send(";L;1.000;2.50;A;Chlieb") != 0;
  failures += Send(";L;2.000;1.20;B;Mlieko") != 0;
  failures += Send(";K;10.00;0;0;0;0;0") != 0;

  printf("Device:\n");
  failures += Send(";IV;5") != 0;
  char answer[256];
  size_t length = 0;
  for (unsigned c = korvenaRead(); c != 13 && c != 255 && length + 1 < sizeof answer; c = korvenaRead())
    answer[length++] = (char)c;
  answer[length] = '\0';
  printf("  version: %s\n", answer);

  exitLibProc();
  printf("ExitLibProc\n");
  return failures == 0 ? 0 : 1;
}
