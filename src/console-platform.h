// What console.cc asks of the platform, implemented by console-posix.cc and
// console-win32.cc beside the services of console.h, and included only by the
// console layer.
#ifndef WIFI_HOTSPOT_CONSOLE_PLATFORM_H
#define WIFI_HOTSPOT_CONSOLE_PLATFORM_H

#include "command-line.h"
#include "fixed-text.h"

// What input_Byte returns for a typed character that the command line's code
// page cannot hold as itself; never a byte of its own (those are 0-255).
constexpr int NOT_IN_CODE_PAGE = 0x100;

// The next byte of standard input (0-255), NOT_IN_CODE_PAGE, or EOF once input
// has ended.
int input_Byte();

// The interpreter that run_Command hands its lines to on this platform.
const Interpreter &local_Interpreter();

// The characters the local interpreter reads in value, one code unit each,
// into chars; returns how many, or -1 when value is not whole text there: the
// code page would not give back the same bytes, so the interpreter, or the
// command after it, would get other characters than the bytes typed.
int interpreter_Characters(const char *value, char16_t (&chars)[TEXT_SIZE]);

#endif
