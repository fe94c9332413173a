// The console services that are the same on every platform: writing, reading a
// bounded token, and putting typed values into a command line by the rules of
// the local interpreter (command-line.h), with what only the platform knows
// asked of it.
#include "console.h"
#include "command-line.h"
#include "console-platform.h"
#include "fixed-text.h"

#include <cstdio>

namespace {

bool is_Blank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// How value must go into a command line, judged on the characters the local
// interpreter reads: a byte that is part of a wider character is not the ASCII
// character it happens to equal.
Quoting local_Quoting(const char *value)
{
    char16_t chars[TEXT_SIZE];
    const int count = interpreter_Characters(value, chars);
    return quoting_Of(local_Interpreter(), chars, count);
}

} // namespace

void write_Text(const char *text)
{
    std::fputs(text, stdout);
}

Token read_Token(char (&buf)[TEXT_SIZE])
{
    std::fflush(stdout); // the prompt shows while the tool waits
    int c = input_Byte();
    while (c != EOF && is_Blank(c)) {
        c = input_Byte();
    }
    if (c == EOF) {
        return Token::End;
    }
    std::size_t length = 0;
    bool whole = true;
    bool usable = true;
    for (; c != EOF && !is_Blank(c); c = input_Byte()) {
        // A NUL cannot be carried by a C string, nor a character that has no
        // bytes of its own in the code page: such a token is read to its end
        // but not stored, as is one too long for the buffer.
        usable = usable && c != NOT_IN_CODE_PAGE && c != '\0';
        whole = whole && length < TEXT_SIZE - 1;
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
    return local_Quoting(value) != Quoting::Impossible;
}

bool runs_As_Typed(const char *line)
{
    return is_Literal_Line(local_Interpreter(), line);
}

bool append_Text(char (&line)[TEXT_SIZE], const char *text)
{
    return append_Quoted(line, text, '\0');
}

bool append_Value(char (&line)[TEXT_SIZE], const char *value)
{
    const Quoting quoting = local_Quoting(value);
    return quoting != Quoting::Impossible &&
           append_Quoted(line, value,
                         quoting == Quoting::Quotes ? local_Interpreter().quote : '\0');
}
