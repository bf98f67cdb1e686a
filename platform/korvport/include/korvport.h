/*
 * KORVPORT: the serial-port library every Korvena program talks through.
 *
 * One port is open per process. Call Close, then Open with a COM port number
 * (1..20) and a baud rate, then any number of Write, Read, SetPort and Flush,
 * then Close. Functions with a result return 1 on success and 0 on failure.
 *
 * COM n is the device named by the environment variable KORVPORT_COM<n> when
 * it is set (for example a pseudo-terminal of the device emulator), else
 * /dev/ttyS<n-1>. The line runs raw 8N1 without flow control. A port that
 * another process holds cannot be opened.
 */
#ifndef KORVPORT_H
#define KORVPORT_H

#include <stdint.h>

#if defined(_WIN32)
#define KORVPORT_CALL __stdcall
#if defined(KORVPORT_BUILD)
#define KORVPORT_API __declspec(dllexport)
#else
#define KORVPORT_API __declspec(dllimport)
#endif
#else
#define KORVPORT_CALL
#define KORVPORT_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Opens COM `port` (1..20) at `baud`; 1 when open. An open port is closed first. */
KORVPORT_API uint8_t KORVPORT_CALL Open(int32_t port, int32_t baud);

/* Closes the port; 1 when no port is open afterwards (also when none was). */
KORVPORT_API uint8_t KORVPORT_CALL Close(void);

/* Stores one received byte in *buffer and returns 1; returns 0 when no byte
 * arrived within about a millisecond. `option` is ignored; `count` must be 1. */
KORVPORT_API uint8_t KORVPORT_CALL Read(void* buffer, int32_t option, int32_t count);

/* Sends `count` bytes; 1 when all were handed to the line. `option` is ignored. */
KORVPORT_API uint8_t KORVPORT_CALL Write(const void* bytes, int32_t option, int32_t count);

/* Changes the speed of the open port without closing it. */
KORVPORT_API void KORVPORT_CALL SetPort(int32_t baud);

/* Discards every received byte not yet read. */
KORVPORT_API void KORVPORT_CALL Flush(void);

#ifdef __cplusplus
}
#endif

#endif
