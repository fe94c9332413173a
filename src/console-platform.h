// The platform part of the console services, implemented once per platform
// (console-posix.cc, console-win32.cc) and included only by the console layer.
// These functions do not flush what was written: console.h's own do, before
// each wait.
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

// Runs line through the command interpreter and returns its status, as
// run_Command does, without the flush.
int interpret_Line(const char *line);

// Waits ms milliseconds, as delay_Ms does, without the flush.
void sleep_Ms(unsigned ms);

// The interpreter that run_Command hands its lines to on this platform.
const Interpreter &local_Interpreter();

// Whether the tool's own environment, which the local interpreter inherits,
// holds name.
bool is_Interpreter_Variable(const char *name);

// The characters the local interpreter reads in value, one code unit each,
// into chars; returns how many, or -1 when value is not whole text there: the
// code page would not give back the same bytes, so the interpreter, or the
// command after it, would get other characters than the bytes typed.
int interpreter_Characters(const char *value, char16_t (&chars)[TEXT_SIZE]);

#endif
