// The console services that are the same on every platform: the standard
// streams, with everything written flushed before any wait: for input, for a
// command, for a delay.
#include <cstdio>

#include "console-platform.h"

void write_Text(const char *text)
{
    std::fputs(text, stdout);
}

int read_Byte()
{
    std::fflush(stdout);
    return input_Byte();
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
