// Console services on Windows: the console commands and the netsh lines run
// through cmd.exe with system(), the delay is the kernel's Sleep.
#include <cstdio>
#include <cstdlib>

#include <windows.h>

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

int run_Command(const char *line)
{
    std::fflush(stdout);
    // Running a command line is this service's purpose; typed values reach it
    // only through append_Value.
    return std::system(line); // NOLINT(cert-env33-c)
}

void color_Screen()
{
    run_Command("color 2f");
}

void clear_Screen()
{
    run_Command("cls");
}

void pause_Key()
{
    run_Command("pause");
}

void delay_Ms(unsigned ms)
{
    std::fflush(stdout);
    Sleep(ms);
}

const Interpreter &local_Interpreter()
{
    return cmd_exe;
}
