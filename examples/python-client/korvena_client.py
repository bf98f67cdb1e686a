#!/usr/bin/env python3
"""korvena_client.py: a point-of-sale client of the KvorW32 driver library
written in Python 3 with the standard library only (ctypes).

It loads libkvorw32.so, declares the result and argument types of all twelve
exports, starts the library, prints one receipt (open, two lines with Slovak
texts in code page 852, close with a cash payment), reads the device's version
text and first header lines, stops the library and shows every result code.

    python3 korvena_client.py [path/to/libkvorw32.so]

Without a path the library is taken from ../../build/lib/libkvorw32.so
relative to this script. The library reads KVORWXX.INI from its own folder
(not the current one), so copy libkvorw32.so and libkorvena.so into a folder
that holds the INI file and give that copy's path (see README.md).

Exit status: 0 when the start and every command answered 0, 1 otherwise,
2 when the library cannot be loaded.
"""

import ctypes
import os
import sys

# The device keeps and prints its texts in code page 852. The library passes
# bytes unchanged in both directions, so the application encodes and decodes.
DEVICE_CODE_PAGE = "cp852"

ESC = 0x1B
CR = 0x0D

# What the start exports answer.
START_RESULTS = {
    0: "started",
    1: "already started, or COM number out of range",
    5: "no device answered at any baud rate",
    7: "the port cannot be opened",
}

# What the write exports answer at the CR of a command (see kvorw32.h).
WRITE_RESULTS = {
    0: "done",
    1: "refused: bad or missing argument, or an answer that is no number",
    2: "refused: not now (no document open, or one open already)",
    3: "refused: the payments do not cover the total",
    4: "refused: CRC announcement does not match",
    256: "no answer within the time limit",
    512: "wrong service password",
    1024: "packet spoilt, send it again",
    65535: "library not started",
}

# Results of the read exports.
READ_END = 13  # the answer is used up
READ_NOT_STARTED = 255  # also a character 255 in the answer
ANSWER_LIMIT = 4096  # far more than any info answer


def default_library_path():
    here = os.path.dirname(os.path.abspath(__file__))
    return os.path.normpath(os.path.join(here, "..", "..", "build", "lib", "libkvorw32.so"))


def load_library(path):
    """Loads the library and declares every export's types.

    ctypes assumes that a foreign function takes ints and returns a C int.
    Each export returns a narrower or differently signed type, so restype is
    set for every one of them, and argtypes so that ctypes converts and
    checks the arguments instead of guessing.
    """
    # 32-bit Windows builds use the stdcall convention; elsewhere, and on
    # 64-bit Windows, both loaders are the same.
    loader = ctypes.WinDLL if os.name == "nt" else ctypes.CDLL
    lib = loader(path)

    u8, u16, i32 = ctypes.c_uint8, ctypes.c_uint16, ctypes.c_int32
    signatures = {
        # start and stop
        "StartLibProc": (u16, []),
        # port, fileDir, fileLD, baudRate, showErrors, reserved (neither read nor written)
        "StartLibProcEx": (u16, [u8, ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p, i32,
                                 ctypes.POINTER(ctypes.c_char)]),
        "ExitLibProc": (None, []),
        # one character of a command; the low 8 bits count
        "KorvenaWrite": (u16, [i32]),
        "KorvenaWriteEx": (u16, [ctypes.POINTER(u8)]),
        "KorvenaWriteW": (u16, [u16]),
        "KorvenaWriteWEx": (u16, [ctypes.POINTER(u16)]),
        "KorvenaWriteL": (i32, [i32]),
        "KorvenaWriteLEx": (i32, [ctypes.POINTER(i32)]),
        # the next character of the last IV or INFO answer
        "KorvenaRead": (u8, []),
        "KorvenaReadW": (u16, []),
        "KorvenaReadL": (i32, []),
    }
    for name, (restype, argtypes) in signatures.items():
        function = getattr(lib, name)  # AttributeError when the export is missing
        function.restype = restype
        function.argtypes = argtypes
    return lib


class Till:
    """Sends commands through the library and collects their results."""

    def __init__(self, lib):
        self.lib = lib
        self.failures = 0

    def send(self, command):
        """Sends ESC, ";", the command (name and ";"-separated arguments, as
        text or bytes) and CR one character at a time; the result of the CR
        is the device's answer."""
        data = command if isinstance(command, bytes) else command.encode(DEVICE_CODE_PAGE)
        result = self.lib.KorvenaWrite(ESC)
        for byte in b";" + data:
            result = self.lib.KorvenaWrite(byte)  # 0: stored
        result = self.lib.KorvenaWrite(CR)
        if result != 0:
            self.failures += 1
        shown = data.decode(DEVICE_CODE_PAGE, errors="replace")
        print("  %-36s -> %5d  %s" % (shown, result, WRITE_RESULTS.get(result, "the device's status")))
        return result

    def read_answer(self):
        """The answer of the last IV or INFO command as bytes."""
        answer = bytearray()
        while len(answer) < ANSWER_LIMIT:
            c = self.lib.KorvenaRead()
            if c in (READ_END, READ_NOT_STARTED):
                break
            answer.append(c)
        return bytes(answer)

    def query(self, number, label):
        """IV;number, and its answer decoded from code page 852."""
        self.send("IV;%d" % number)
        text = self.read_answer().decode(DEVICE_CODE_PAGE, errors="replace")
        print("  %-36s    %s" % (label + ":", text))
        return text


def main(argv):
    # Slovak texts print even where the terminal's encoding lacks a letter.
    if hasattr(sys.stdout, "reconfigure"):
        sys.stdout.reconfigure(errors="replace")

    path = argv[1] if len(argv) > 1 else default_library_path()
    if len(argv) > 2 or path in ("-h", "--help"):
        print("usage: korvena_client.py [path/to/libkvorw32.so]")
        return 0 if path in ("-h", "--help") else 2
    try:
        lib = load_library(path)
    except (OSError, AttributeError) as error:
        print("korvena_client: %s: %s" % (path, error), file=sys.stderr)
        return 2
    print("KvorW32: %s" % path)

    started = lib.StartLibProc()
    print("StartLibProc -> %d  %s" % (started, START_RESULTS.get(started, "?")))
    if started != 0:
        return 1

    till = Till(lib)
    print("Receipt:")
    till.send("S;0")  # open a receipt in mode A
    # quantity ; unit price ; VAT class ; text (code page 852 bytes)
    till.send("L;4.000;0.15;D;" + "Rožok")
    till.send("L;1.000;1.29;D;" + "Mlieko polotučné 1 l")
    till.send("K;5.00;0;0;0;0;0")  # cash first, five more means of payment

    print("Device:")
    till.query(5, "version (IV;5)")
    till.query(120, "header line 1 (IV;120)")
    till.query(121, "header line 2 (IV;121)")

    lib.ExitLibProc()
    print("ExitLibProc")

    # Not started any more: the wide variants show why restype matters.
    print("After ExitLibProc: KorvenaWrite -> %d, KorvenaWriteL -> %d, KorvenaRead -> %d, KorvenaReadL -> %d"
          % (lib.KorvenaWrite(ESC), lib.KorvenaWriteL(ESC), lib.KorvenaRead(), lib.KorvenaReadL()))

    if till.failures:
        print("%d command(s) did not answer 0" % till.failures)
        return 1
    print("Every command answered 0")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
