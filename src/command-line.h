// The rules that keep a typed value exact on its way into a command line:
// which characters each interpreter acts on, how a value is quoted so that it
// acts on none of them, and which %name% cmd.exe would replace in the whole
// line. The functions here are plain logic over what they are given; what
// only the running system knows (the characters the code page makes of the
// bytes, the names in the interpreter's environment) the console layer asks
// the platform (console-platform.h) and hands in.
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

// The variables the tool sets to Windows' own values before each line it hands
// cmd.exe (set_Windows_Environment in console-win32.cc says why), so cmd.exe
// knows them whatever the tool's own environment holds.
inline constexpr const char *SET_FOR_CMD_EXE[] = {"PATH", "windir", "SystemRoot", "PATHEXT"};

enum class Quoting { None, Quotes, Impossible };

// How a value must go into a command line for shell to hand it to the command
// as typed. chars are the count characters that shell reads in the value's
// bytes (a count of -1: the bytes are not whole text there).
Quoting quoting_Of(const Interpreter &shell, const char16_t *chars, int count);

// Whether shell runs line as it stands, replacing no %name% in it with
// something else. in_Environment tells whether the tool's own environment holds
// a name; the names shell makes up itself, and those the tool sets for it, are
// known here.
bool is_Literal_Line(const Interpreter &shell, const char *line,
                     bool (*in_Environment)(const char *name));

// Appends value to line, between two quote bytes unless quote is '\0'. When
// the result would not fit in the 99 bytes, returns false and leaves line as
// it was.
bool append_Quoted(char (&line)[TEXT_SIZE], const char *value, char quote);

#endif
