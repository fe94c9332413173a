// Console services on Windows: the console commands and the netsh lines run
// through cmd.exe with system(), the delay is the kernel's Sleep.
#include <cstdio>

#include <windows.h>

#include "console.h"

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
