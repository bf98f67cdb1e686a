/*
 * KORVPORT: the serial-port library every Korvena program talks through.
 *
 * One port is open per process. Call Close, then Open with a COM port number
 * (1..20) and a baud rate, then any number of Write, Read, SetPort and Flush,
 * then Close. Functions with a result return 1 on success and 0 on failure.
 * WaitRead, OpenError and OpenErrorText came later: a caller that must also
 * work with an older library looks them up and does without when missing.
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

/* Waits until Read will give a byte, at most `timeoutMs` milliseconds (0 or
 * less: only looks); 1 when a byte can be read, 0 when the time ran out. A
 * line that can bring nothing (no port open, the other end gone) waits out
 * the time too, so a caller's loop around it never spins. */
KORVPORT_API uint8_t KORVPORT_CALL WaitRead(int32_t timeoutMs);

/* Why the last Open failed; KORVPORT_OPENED after one that succeeded. */
#define KORVPORT_OPENED 0
#define KORVPORT_NO_DEVICE 1     /* no such port or device */
#define KORVPORT_NO_PERMISSION 2 /* the user may not open the device */
#define KORVPORT_BUSY 3          /* another program holds the port */
#define KORVPORT_BAD_RATE 4      /* the rate is out of range or refused by the line */
#define KORVPORT_SYSTEM_ERROR 5  /* anything else; OpenErrorText has the system's words */
KORVPORT_API int32_t KORVPORT_CALL OpenError(void);

/* The same reason as a line of text for a person, e.g.
 * "busy, held by another program: /dev/ttyS0"; "" after a successful Open.
 * Copies at most `size` - 1 bytes and a NUL into `text` and returns the
 * length of the whole text, so a caller can ask again with room enough. */
KORVPORT_API int32_t KORVPORT_CALL OpenErrorText(char* text, int32_t size);

#ifdef __cplusplus
}
#endif

#endif
