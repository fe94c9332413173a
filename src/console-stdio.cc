// The console services that are the same on every platform: standard output,
// with everything written flushed before a command or a delay (read_Token
// flushes before it reads).
#include <cstdio>

#include "console-platform.h"
#include "console.h"

void write_Text(const char *text)
{
    std::fputs(text, stdout);
}

void delay_Ms(unsigned ms)
{
    std::fflush(stdout);
    sleep_Ms(ms);
}

int run_Command(const char *line)
{
    std::fflush(stdout);
    return interpret_Line(line);
}
