// The platform-neutral console services: reading a bounded token, and putting
// typed values into a command line so that no byte of them changes what the
// command interpreter runs.
#include "console.h"
#include "console-platform.h"

#include <cstdio>
#include <cstring>

namespace {

bool is_Blank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool is_In(char16_t c, const char *set)
{
    return c != 0 && c < 0x80 && std::strchr(set, static_cast<char>(c)) != nullptr;
}

enum class Quoting { None, Quotes, Impossible };

// How value must go into a command line to reach the command as typed, judged
// on the characters the interpreter reads: a byte that is part of a wider
// character is not the ASCII character it happens to equal.
Quoting quoting_Of(const char *value)
{
    const Interpreter &shell = local_Interpreter();
    char16_t chars[TEXT_SIZE];
    const int count = interpreter_Characters(value, chars);
    if (count < 0) {
        return Quoting::Impossible;
    }
    bool quotes = false;
    for (int i = 0; i < count; ++i) {
        const char16_t c = chars[i];
        if (is_In(c, shell.unquotable)) {
            return Quoting::Impossible;
        }
        quotes = quotes || is_In(c, shell.specials);
    }
    if (!quotes) {
        return Quoting::None;
    }
    // Quotes were needed, so there is a last character.
    const bool ends_in_backslash = chars[count - 1] == u'\\';
    return shell.no_trailing_backslash && ends_in_backslash ? Quoting::Impossible : Quoting::Quotes;
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
    bool usable = true;
    for (; c != EOF && !is_Blank(c); c = read_Byte()) {
        // A NUL cannot be carried by a C string, so such a token can never be
        // used as typed; a longer token is read to its end but not stored, as
        // is one with a character that has no bytes of its own.
        usable = usable && c != NOT_IN_CODE_PAGE;
        if (c == '\0' || length == TEXT_SIZE - 1) {
            whole = false;
        }
        if (whole && usable) {
            buf[length++] = static_cast<char>(c);
        }
    }
    if (whole && usable) {
        buf[length] = '\0';
        return Token::Word;
    }
    buf[0] = '\0';
    return usable ? Token::Unfit : Token::Unusable;
}

bool is_Passable(const char *value)
{
    return quoting_Of(value) != Quoting::Impossible;
}

bool append_Text(char (&line)[TEXT_SIZE], const char *text)
{
    return append(line, text, '\0');
}

bool append_Value(char (&line)[TEXT_SIZE], const char *value)
{
    const Quoting quoting = quoting_Of(value);
    return quoting != Quoting::Impossible &&
           append(line, value, quoting == Quoting::Quotes ? local_Interpreter().quote : '\0');
}
