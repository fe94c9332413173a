// The rules that keep a typed value exact on its way into a command line:
// which characters each interpreter acts on, how a value is quoted so that it
// acts on none of them, and when cmd.exe could replace a part of the whole
// line. The functions here are plain logic over what they are given; the
// characters that the code page makes of the bytes, which only the running
// system knows, the console layer asks the platform for (console-platform.h).
#ifndef WIFI_HOTSPOT_COMMAND_LINE_H
#define WIFI_HOTSPOT_COMMAND_LINE_H

#include "fixed-text.h"

// How an interpreter treats the characters of a line, as its documentation
// has it.
struct Interpreter {
    char quote;                  // the quote that makes characters inside it plain text
    const char *specials;        // ASCII characters it acts on unless quoted
    const char *unquotable;      // ASCII characters it acts on even inside quotes
    bool no_trailing_backslash;  // a backslash before the closing quote would
                                 // escape it for the command's argument parser
    bool replaces_percent_names; // %name% is replaced on the whole line, quoted or not
};

extern const Interpreter CMD_EXE;  // cmd.exe /e:ON /v:OFF /d /c, and netsh after it
extern const Interpreter POSIX_SH; // /bin/sh -c, dash or bash

enum class Quoting { None, Quotes, Impossible };

// How a value must go into a command line for shell to hand it to the command
// as typed. chars are the count characters that shell reads in the value's
// bytes (a count of -1: the bytes are not whole text there).
Quoting quoting_Of(const Interpreter &shell, const char16_t *chars, int count);

// Whether shell runs line as it stands, whatever the environment holds: for
// cmd.exe, a line with at most one %.
bool is_Literal_Line(const Interpreter &shell, const char *line);

// Appends value to line, between two quote bytes unless quote is '\0'. When
// the result would not fit in the 99 bytes, returns false and leaves line as
// it was.
bool append_Quoted(char (&line)[TEXT_SIZE], const char *value, char quote);

#endif
