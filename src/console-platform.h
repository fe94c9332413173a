// The platform part of the console services, implemented once per platform
// (console-posix.cc, console-win32.cc) and included only by the console layer.
// These functions do not flush what was written: console.h's own do, before
// each wait.
#ifndef WIFI_HOTSPOT_CONSOLE_PLATFORM_H
#define WIFI_HOTSPOT_CONSOLE_PLATFORM_H

#include "console.h"

// What input_Byte returns for a typed character that the command line's code
// page cannot hold as itself; never a byte of its own (those are 0-255).
constexpr int NOT_IN_CODE_PAGE = 0x100;

// The next byte of standard input (0-255), NOT_IN_CODE_PAGE, or EOF once input
// has ended; read_Byte flushes first.
int input_Byte();
int read_Byte();

// Runs line through the command interpreter and returns its status, as
// run_Command does, without the flush.
int interpret_Line(const char *line);

// Waits ms milliseconds, as delay_Ms does, without the flush.
void sleep_Ms(unsigned ms);

// How the local command interpreter treats the characters of a line.
struct Interpreter {
    char quote;                 // the quote that makes characters inside it plain text
    const char *specials;       // ASCII characters it acts on unless quoted
    const char *unquotable;     // ASCII characters it acts on even inside quotes
    bool no_trailing_backslash; // a backslash before the closing quote would
                                // escape it for the command's argument parser
};

// The interpreter that run_Command hands its lines to on this platform.
const Interpreter &local_Interpreter();

// The characters the local interpreter reads in value, one code unit each,
// into chars; returns how many, or -1 when value is not whole text there (the
// interpreter, or the command after it, would get other characters than the
// bytes typed).
int interpreter_Characters(const char *value, char16_t (&chars)[TEXT_SIZE]);

#endif
