// The rules that keep a typed value exact in a command line, for each
// interpreter the tool hands its lines to.
#include "command-line.h"

#include <algorithm>
#include <cstring>
#include <iterator>

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

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether two names are the same to cmd.exe: ASCII letters in either case.
bool same_Name(const char *a, const char *b)
{
    for (; *a != '\0' && upper(*a) == upper(*b); ++a, ++b) {
    }
    return upper(*a) == upper(*b);
}

// Whether cmd.exe replaces %name%: a name it makes up as it reads it (its
// dynamic variables) or may set for itself, a hidden one (they begin with '=';
// SET takes no such name), or one in its environment: the tool's own, with
// SET_FOR_CMD_EXE set for each line. On Windows the system's own lookup of a
// variable, which cmd.exe uses too, also answers __CD__, __APPDIR__ and
// FIRMWARE_TYPE; they are listed for the lookups that do not: wine's and the
// one the tests hand in.
bool is_Known(const char *name, bool (*in_Environment)(const char *name))
{
    // clang-format off
    static const char *const made_up[] = {
        "CD", "DATE", "TIME", "RANDOM", "ERRORLEVEL", "CMDEXTVERSION", "CMDCMDLINE", // dynamic
        "HIGHESTNUMANODENUMBER",                                                      // dynamic
        "PROMPT", "COMSPEC",                                       // cmd.exe may set them
        "__CD__", "__APPDIR__", "FIRMWARE_TYPE"};         // the system's lookup answers them
    // clang-format on
    if (name[0] == '\0') {
        return false;
    }
    if (name[0] == '=') {
        return true;
    }
    const auto same = [name](const char *known) { return same_Name(name, known); };
    return std::any_of(std::begin(made_up), std::end(made_up), same) ||
           std::any_of(std::begin(SET_FOR_CMD_EXE), std::end(SET_FOR_CMD_EXE), same) ||
           in_Environment(name);
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

// cmd.exe reads a command line (not a batch file) from the left for a %. The
// name after it ends before the next % or ':', but a ':' right before a % is
// its last character. A name it knows, followed by %, is replaced; followed by
// ':', a substring or a replacement may follow. An unknown name is left as it
// stands, and the reading goes on at the next %, which may open another name.
// A % that nothing closes stays as it is.
bool is_Literal_Line(const Interpreter &shell, const char *line,
                     bool (*in_Environment)(const char *name))
{
    if (!shell.replaces_percent_names) {
        return true;
    }
    for (const char *open = std::strchr(line, '%'); open != nullptr;
         open = std::strchr(open + 1, '%')) {
        const char *const start = open + 1;
        std::size_t length = std::strcspn(start, ":%");
        if (start[length] == ':' && start[length + 1] == '%') {
            ++length;
        }
        if (std::strchr(start + length, '%') == nullptr) {
            return true;
        }
        char name[TEXT_SIZE] = {};
        std::memcpy(name, start, std::min(length, sizeof name - 1));
        if (is_Known(name, in_Environment)) {
            return false;
        }
    }
    return true;
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
