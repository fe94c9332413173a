// The rules that keep a typed value exact in a command line, for each
// interpreter the tool hands its lines to.
#include "command-line.h"

#include <cstring>

#include "fixed-text.h"

// In an argument, cmd.exe acts on & | < > ^ outside double quotes; inside them
// a " would close them. Parentheses are plain text here: a ( opens a block only
// where a command begins, and a ) closes one only where one is open, which no
// line of the tool's is. With /v:OFF a ! is plain text. A % it acts on in the
// whole line, quotes or not (is_Literal_Line). netsh splits its arguments like
// the C runtime, where \" is a literal quote, so a quoted value may not end in
// a backslash.
const Interpreter CMD_EXE = {'"', "&|<>^", "\"", true, true};

// Inside a word after "ssid=" or "key=", /bin/sh acts on its operators, on
// expansions, escapes and quotes, on glob characters (when a file matches), and
// where it is bash, on braces. Comments and tildes only begin a word. Inside
// single quotes every byte but ' is plain text.
const Interpreter POSIX_SH = {'\'', "|&;<>()$`\\\"*?[{", "'", false, false};

namespace {

bool is_In(char16_t c, const char *set)
{
    return c != 0 && c < 0x80 && std::strchr(set, static_cast<char>(c)) != nullptr;
}

} // namespace

Quoting quoting_Of(const Interpreter &shell, const char16_t *chars, int count)
{
    if (count < 0) {
        return Quoting::Impossible;
    }
    bool quotes = false;
    for (int i = 0; i < count; ++i) {
        if (is_In(chars[i], shell.unquotable)) {
            return Quoting::Impossible;
        }
        quotes = quotes || is_In(chars[i], shell.specials);
    }
    if (!quotes) {
        return Quoting::None;
    }
    // Quotes were needed, so there is a last character.
    const bool ends_in_backslash = chars[count - 1] == u'\\';
    return shell.no_trailing_backslash && ends_in_backslash ? Quoting::Impossible : Quoting::Quotes;
}

// cmd.exe replaces %name% wherever the name is one its environment holds,
// or one it makes up as it reads it (CD, RANDOM, and more with each Windows).
// A name needs a % on each side: a line with a single % runs as it stands,
// whatever names there are.
bool is_Literal_Line(const Interpreter &shell, const char *line)
{
    const char *const first = std::strchr(line, '%');
    return !shell.replaces_percent_names || first == nullptr ||
           std::strchr(first + 1, '%') == nullptr;
}

bool append_Quoted(char (&line)[TEXT_SIZE], const char *value, char quote)
{
    const std::size_t used = std::strlen(line);
    const std::size_t length = std::strlen(value);
    const std::size_t quotes = quote != '\0' ? 2 : 0;
    if (length + quotes > TEXT_SIZE - 1 - used) {
        return false;
    }
    char *out = line + used;
    if (quote != '\0') {
        *out++ = quote;
    }
    std::memcpy(out, value, length);
    out += length;
    if (quote != '\0') {
        *out++ = quote;
    }
    *out = '\0';
    return true;
}
