/*
 * KvorW32: the driver library through which point-of-sale applications print
 * on the Korvena fiscal cash register.
 *
 * Use
 *   1. Call StartLibProc (settings from the configuration file) or
 *      StartLibProcEx (settings as arguments) once. It opens the COM port and
 *      identifies the device; 0 means started.
 *   2. Hand every command to a write export one character at a time: ESC,
 *      ";", the command name, ";"-separated arguments, then CR. Every
 *      character but the CR is only stored and returns 0; the call that passes
 *      the CR sends the command, waits for the device and returns its result.
 *   3. After an IV or INFO command, read the device's answer line one
 *      character per call with a read export; 13 (CR) marks its end.
 *   4. Call ExitLibProc to close the port.
 * Call the exports from one thread at a time. (Calls made from several
 * threads at once are served one after the other, never at the same time,
 * but the characters of their commands mix.) No call ever raises an error
 * into the application: every outcome is a result code.
 *
 * Port library
 *   The library reaches the COM port through the port library, taken from
 *   its own folder first (libkorvena.so.1, else libkorvena.so), then from
 *   the usual library search (libkorvena.so.1). Its functions are
 *   bound through that library's own handle, so functions of the
 *   application named Open, Read, Write or Close do not interfere. When it
 *   cannot be loaded, the start returns 7 and the debug log says why.
 *
 * Configuration file
 *   "KVORWXX.INI" in the directory of the library file itself (not the
 *   current directory); on Linux, when there is none there,
 *   /etc/korvena/KVORWXX.INI. Section [Setting]. Integer keys are on only for the
 *   value 1.
 *     Debug=0     1: write the debug log "KORVENA.DBG" in the current directory
 *     Com=1       COM port number, 1 to 20
 *     Ldx=0       1: fetch LDX data after the LDX-producing commands (K, KF, V,
 *                 DX, DZ, MI, MD, MIP, MDP, C, CQ, CDI, CDD, CDIM, CDDM) and
 *                 append it to a daily file FileDir + YYYYMMDD.tx (READSD
 *                 for today without a file of its own replaces that file)
 *     DispE=1     1: report start errors (on this platform: on standard error)
 *     IV=0        1: send an application's IV command as INFO
 *     CRC=0       1: announce every command with a CRC frame
 *     FileLD=     LDX file name (default KORVENA.LDX in the current directory)
 *     FileDir=    directory of the daily LDX files and of SD files
 *     BaudRate=   line speed; empty or not a decimal number: 9600. When the
 *                 device answers only at another speed, the start finds it
 *                 and writes the speed found back into this key.
 *     Timeout=100 base time limit T in ms, kept within 100..5000
 *
 * Result codes of the start exports
 *     0  started            5  no device answered at any speed
 *     1  already started, or COM number out of range (0, above 20, or a
 *        "Com" value outside 0..255)
 *     7  the port cannot be opened
 *
 * Result codes of the write exports (at the CR, or 0 for a stored character)
 *     65535  not started (-1 from the L variants)
 *     0      stored; a frame not starting with ESC was dropped; success
 *     1      GETLDX, READSD, MIP or MDP failed; an answer that is not a number
 *            from 0 to 65535 (an answer line ends after 1 MiB without its
 *            CR, and is then no number); an LDX or SD file that GETLDX or
 *            READSD could not write; LDX or SD data cut at 64 MiB (SD data
 *            are written as far as they came, LDX data not at all); a null
 *            pointer passed to an Ex variant
 *
 *   With Ldx=1 the LDX data fetched after a command never change that
 *   command's result: the device has already printed the document, and a
 *   result of 1 could make the application print it again. A fetch that
 *   brings no data is let pass; a file that cannot be written only leaves
 *   the line "file not written: <file>" in the debug log (the other file is
 *   written all the same).
 *     256    no answer within the time limit
 *     other  the number the device answered
 *
 * Time limits: general commands 30 s; IV and INFO 10 T; LDX data 10 T for the
 * first byte, then T after each byte; READSD T * 5 for the length line, then
 * data until the length or 10 T of silence. MIP and MDP wait for the device's
 * acknowledgement in steps of 10 s, at most 30 steps (5 minutes); a device
 * silent for that long gives 1.
 *
 * The device's commands, their fields, the info numbers and status numbers:
 * docs/device-commands.md of the suite.
 *
 * Read exports: 255 (65535, -1) when not started, 13 when the answer is used
 * up, else its next character. A character 255 in the answer reads the same
 * as "not started".
 */
#ifndef KVORW32_H
#define KVORW32_H

#include <stdint.h>

#if defined(_WIN32)
#define KVORW32_CALL __stdcall
#if defined(KVORW32_BUILD)
#define KVORW32_API /* exported by kvorw32.def under the plain names only */
#else
#define KVORW32_API __declspec(dllimport)
#endif
#else
#define KVORW32_CALL
#define KVORW32_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Starts with the settings of KVORWXX.INI. */
KVORW32_API uint16_t KVORW32_CALL StartLibProc(void);

/* Starts on COM `port` (1..20). `fileDir`, `fileLD` and `baudRate` may be
 * NULL or empty (keep FileDir, keep the LDX file name, 9600); only their first
 * 80 characters count. `showErrors` non-zero reports start errors. `reserved`
 * is neither read nor written. Debug, Ldx, IV, CRC and Timeout keep the values
 * of an earlier StartLibProc, or are all off (Timeout 0) when there was none. */
KVORW32_API uint16_t KVORW32_CALL StartLibProcEx(uint8_t port, const char* fileDir, const char* fileLD,
                                                 const char* baudRate, int32_t showErrors, char* reserved);

/* Closes the port (when started) and the debug log. */
KVORW32_API void KVORW32_CALL ExitLibProc(void);

/* One character of a command: the low 8 bits of the value. */
KVORW32_API uint16_t KVORW32_CALL KorvenaWrite(int32_t character);
KVORW32_API uint16_t KVORW32_CALL KorvenaWriteEx(const uint8_t* character);
KVORW32_API uint16_t KVORW32_CALL KorvenaWriteW(uint16_t character);
KVORW32_API uint16_t KVORW32_CALL KorvenaWriteWEx(const uint16_t* character);
KVORW32_API int32_t KVORW32_CALL KorvenaWriteL(int32_t character);
KVORW32_API int32_t KVORW32_CALL KorvenaWriteLEx(const int32_t* character);

/* The next character of the last IV or INFO answer. */
KVORW32_API uint8_t KVORW32_CALL KorvenaRead(void);
KVORW32_API uint16_t KVORW32_CALL KorvenaReadW(void);
KVORW32_API int32_t KVORW32_CALL KorvenaReadL(void);

/* Pointer types for applications that load the library at run time. */
typedef uint16_t(KVORW32_CALL* KvorStartLibProcFn)(void);
typedef uint16_t(KVORW32_CALL* KvorStartLibProcExFn)(uint8_t, const char*, const char*, const char*, int32_t,
                                                      char*);
typedef void(KVORW32_CALL* KvorExitLibProcFn)(void);
typedef uint16_t(KVORW32_CALL* KvorWriteFn)(int32_t);
typedef int32_t(KVORW32_CALL* KvorWriteLFn)(int32_t);
typedef uint8_t(KVORW32_CALL* KvorReadFn)(void);
typedef int32_t(KVORW32_CALL* KvorReadLFn)(void);

#ifdef __cplusplus
}
#endif

#endif
