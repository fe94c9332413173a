// The console services that are the same on every platform: the standard
// streams, with everything written flushed before any wait, and the C
// library's system(), which hands a line to the platform's command
// interpreter (cmd.exe on Windows, /bin/sh elsewhere).
#include <cstdio>
#include <cstdlib>

#include "console.h"

void write_Text(const char *text)
{
    std::fputs(text, stdout);
}

int read_Byte()
{
    std::fflush(stdout);
    return std::getchar();
}

void delay_Ms(unsigned ms)
{
    std::fflush(stdout);
    sleep_Ms(ms);
}

int run_Command(const char *line)
{
    std::fflush(stdout);
    // Running a command line is this service's purpose; typed values reach it
    // only through append_Value.
    return std::system(line); // NOLINT(cert-env33-c)
}
