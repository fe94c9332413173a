// The platform-neutral console services: reading a bounded token, and putting
// typed values into a command line so that no byte of them changes what the
// command interpreter runs.
#include "console.h"

#include <cstdio>
#include <cstring>

// cmd.exe acts on & | < > ^ ( ) outside double quotes. Inside them it still
// expands %...%, and a " would close them. netsh splits its arguments like the
// C runtime, where \" is a literal quote, so a quoted value may not end in a
// backslash.
const Interpreter cmd_exe = {'"', "&|<>^()", "\"%", true};

// /bin/sh: the bytes POSIX says must be quoted to stand for themselves, those
// that may act in some places (globs, comments, tildes, braces in bash), and
// "!". Inside single quotes every byte but ' is plain text.
const Interpreter posix_sh = {'\'', "|&;<>()$`\\\"*?[]#~{}!", "'", false};

namespace {

bool is_Blank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool is_In(unsigned char c, const char *set)
{
    return c != '\0' && std::strchr(set, c) != nullptr;
}

// Control bytes are quoted on every platform: no interpreter should see them
// bare, and quoting is harmless where they mean nothing.
bool is_Special(unsigned char c, const Interpreter &shell)
{
    return c < 0x20 || c == 0x7f || is_In(c, shell.specials) || is_In(c, shell.unquotable);
}

bool needs_Quotes(const char *value, const Interpreter &shell)
{
    for (const char *p = value; *p != '\0'; ++p) {
        if (is_Special(static_cast<unsigned char>(*p), shell)) {
            return true;
        }
    }
    return false;
}

// Appends value to line, between two quote bytes unless quote is '\0'.
bool append(char (&line)[TEXT_SIZE], const char *value, char quote)
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

} // namespace

Token read_Token(char (&buf)[TEXT_SIZE])
{
    int c = read_Byte();
    while (c != EOF && is_Blank(c)) {
        c = read_Byte();
    }
    if (c == EOF) {
        return Token::End;
    }
    std::size_t length = 0;
    bool whole = true;
    for (; c != EOF && !is_Blank(c); c = read_Byte()) {
        // A NUL cannot be carried by a C string, so such a token can never be
        // used as typed; a longer token is read to its end but not stored.
        if (c == '\0' || length == TEXT_SIZE - 1) {
            whole = false;
        }
        if (whole) {
            buf[length++] = static_cast<char>(c);
        }
    }
    buf[whole ? length : 0] = '\0';
    return whole ? Token::Word : Token::Unfit;
}

bool is_Passable(const char *value, const Interpreter &shell)
{
    for (const char *p = value; *p != '\0'; ++p) {
        if (is_In(static_cast<unsigned char>(*p), shell.unquotable)) {
            return false;
        }
    }
    const std::size_t length = std::strlen(value);
    const bool ends_in_backslash = length > 0 && value[length - 1] == '\\';
    return !(shell.no_trailing_backslash && ends_in_backslash && needs_Quotes(value, shell));
}

bool append_Text(char (&line)[TEXT_SIZE], const char *text)
{
    return append(line, text, '\0');
}

bool append_Value(char (&line)[TEXT_SIZE], const char *value, const Interpreter &shell)
{
    return append(line, value, needs_Quotes(value, shell) ? shell.quote : '\0');
}
