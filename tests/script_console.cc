#include "script_console.h"

#include <cstdio>

int wifi_hotspot_main(); // the tool's main, renamed for this build

namespace {

Script *current = nullptr;

bool is_Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

Script &active()
{
    if (current->ended) {
        current->acted_after_end = true;
    }
    return *current;
}

} // namespace

void attach_Script(Script &script)
{
    current = &script;
}

int run_Script(Script &script)
{
    attach_Script(script);
    return wifi_hotspot_main();
}

void write_Text(const char *text)
{
    active().screen += text;
}

int read_Byte()
{
    Script &s = active();
    // Input has ended for the program once a read finds no token: end of
    // input right after white space, at the start, or a second time.
    if (s.read_at == s.input.size()) {
        s.ended = s.ended || s.read_at == 0 || s.at_end || is_Blank(s.input[s.read_at - 1]);
        s.at_end = true;
        return EOF;
    }
    return static_cast<unsigned char>(s.input[s.read_at++]);
}

int run_Command(const char *line)
{
    Script &s = active();
    s.screen += std::string("[run ") + line + "]";
    const std::size_t n = s.commands.size();
    s.commands.emplace_back(line);
    return n < s.statuses.size() ? s.statuses[n] : 0;
}

void color_Screen()
{
    active().screen += "[color]";
}

void clear_Screen()
{
    active().screen += "[cls]";
}

void pause_Key()
{
    active().screen += "[pause]";
}

void delay_Ms(unsigned ms)
{
    active().screen += "[delay " + std::to_string(ms) + "]";
}

const Interpreter &local_Interpreter()
{
    return *current->shell;
}
