// Console services: the only layer that touches the console, the command
// interpreter and the clock. The menu and the hosted-network operations are
// plain logic over these functions; every one of them that waits (for input,
// for a command, for a delay) first flushes what was written.
//
// console.cc holds what is the same everywhere (writing, tokens, values put
// into command lines by the rules of command-line.h); console-posix.cc (/bin/sh,
// ANSI escapes) and console-win32.cc (cmd.exe, the console) the rest, with
// what console.cc asks of them in console-platform.h.
#ifndef WIFI_HOTSPOT_CONSOLE_H
#define WIFI_HOTSPOT_CONSOLE_H

#include "fixed-text.h"

// The one delay the tool uses, after a refused input.
constexpr unsigned REFUSAL_DELAY_MS = 1500;

// Writes the bytes of text (GBK) to standard output unchanged.
void write_Text(const char *text);

// Flushes everything written, runs line through the command interpreter and
// returns its status: 0 is success, anything else (a command that could not be
// started too) failure.
int run_Command(const char *line);

// Flushes everything written, then waits ms milliseconds.
void delay_Ms(unsigned ms);

void color_Screen(); // colours the whole window bright white on green
void clear_Screen(); // clears the window and puts the cursor at its top
void pause_Key();    // writes a press-any-key prompt and waits for one key

// Whether the window closes when the tool ends: it was opened for the tool
// alone (a double-click), so nothing would stay on screen after the last text.
bool window_Closes_With_Tool();

enum class Token {
    Word,     // the whole token is in the buffer
    Unfit,    // longer than 99 bytes: consumed whole, the buffer is left empty
    Unusable, // holds a NUL byte, or a typed character that the command line
              // cannot carry as itself: consumed whole, the buffer left empty
    End,      // input ended before a token began: the buffer is left untouched
};

// Flushes everything written, skips white space (blank, tab, newline, carriage
// return, vertical tab, form feed), then reads the next run of other bytes into
// buf. The byte that ends the token is consumed with it.
Token read_Token(char (&buf)[TEXT_SIZE]);

// Whether the local interpreter can be made to pass value through to the
// command as typed, quoting it where needed.
bool is_Passable(const char *value);

// Whether the local interpreter runs line as it stands, replacing no part of
// it, whatever its environment holds.
bool runs_As_Typed(const char *line);

// Appends text unchanged to the command line in line. When it would not fit
// in the 99 bytes, returns false and leaves line as it was.
bool append_Text(char (&line)[TEXT_SIZE], const char *text);

// Appends a passable value to line so that the interpreter hands it to the
// command exactly as typed: unchanged when it holds no character the
// interpreter acts on, else inside the interpreter's quotes. Returns false, with
// line as it was, when the result would not fit in the 99 bytes.
bool append_Value(char (&line)[TEXT_SIZE], const char *value);

#endif
