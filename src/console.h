// Console services: the only layer that touches the console, the command
// interpreter and the clock. The menu and the hosted-network operations are
// plain logic over these functions.
//
// console.cc holds the platform-neutral part (tokens, command-line building);
// console-stdio.cc the standard streams, alike everywhere; console-posix.cc
// (system(), ANSI escapes) and console-win32.cc (cmd.exe, the console) the rest
// of the platform part.
#ifndef WIFI_HOTSPOT_CONSOLE_H
#define WIFI_HOTSPOT_CONSOLE_H

#include <cstddef>

// Every input buffer, command buffer and menu row: at most 99 bytes of text
// and a terminating NUL.
constexpr std::size_t TEXT_SIZE = 100;

// The one delay the tool uses, after a refused input.
constexpr unsigned REFUSAL_DELAY_MS = 1500;

// ---- Platform part ----------------------------------------------------------

// Writes the bytes of text (GBK) to standard output unchanged.
void write_Text(const char *text);

// Flushes everything written, then returns the next byte of standard input
// (0-255), or EOF once input has ended.
int read_Byte();

// Flushes everything written, runs line through the command interpreter and
// returns its status: 0 is success, anything else (a command that could not be
// started too) failure.
int run_Command(const char *line);
int interpret_Line(const char *line); // the platform's run, without the flush

void color_Screen(); // colours the whole window bright white on green
void clear_Screen(); // clears the window and puts the cursor at its top
void pause_Key();    // writes a press-any-key prompt and waits for one key

// Whether the window closes when the tool ends: it was opened for the tool
// alone (a double-click), so nothing would stay on screen after the last text.
bool window_Closes_With_Tool();

// Flushes everything written, then waits ms milliseconds.
void delay_Ms(unsigned ms);
void sleep_Ms(unsigned ms); // the platform's wait, without the flush

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

// ---- Platform-neutral part --------------------------------------------------

enum class Token {
    Word,  // the whole token is in the buffer
    Unfit, // longer than 99 bytes or holding a NUL byte: consumed whole, the
           // buffer is left empty
    End,   // input ended before a token began: the buffer is left untouched
};

// Skips white space (blank, tab, newline, carriage return, vertical tab, form
// feed), then reads the next run of other bytes into buf. The byte that ends
// the token is consumed with it.
Token read_Token(char (&buf)[TEXT_SIZE]);

// Whether the local interpreter can be made to pass value through to the
// command as typed, quoting it where needed.
bool is_Passable(const char *value);

// Appends text unchanged to the command line in line. When it would not fit
// in the 99 bytes, returns false and leaves line as it was.
bool append_Text(char (&line)[TEXT_SIZE], const char *text);

// Appends a passable value to line so that the interpreter hands it to the
// command exactly as typed: unchanged when it holds no character the
// interpreter acts on, else inside the interpreter's quotes. Returns false, with line as
// it was, when the result would not fit in the 99 bytes.
bool append_Value(char (&line)[TEXT_SIZE], const char *value);

#endif
