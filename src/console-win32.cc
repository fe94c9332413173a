// Console services on Windows: the console commands and the netsh lines run
// through cmd.exe with system(), the delay is the kernel's Sleep.
#include <cstring>

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

void sleep_Ms(unsigned ms)
{
    Sleep(ms);
}

// In an argument, cmd.exe acts on & | < > ^ outside double quotes (parentheses
// only open and close blocks at the start of a command). Inside quotes it
// still expands %...%, and a " would close them. netsh splits its arguments
// like the C runtime, where \" is a literal quote, so a quoted value may not
// end in a backslash.
const Interpreter &local_Interpreter()
{
    static const Interpreter cmd_exe = {'"', "&|<>^", "\"%", true};
    return cmd_exe;
}

// system() hands the line to CreateProcessA, which turns it into Unicode with
// the ANSI code page (936 on a Chinese Windows); cmd.exe reads that Unicode
// line. So the characters are what the system's own conversion makes of the
// bytes. Bytes that are not whole text there (a lead byte at the end, or
// before a byte that cannot follow it) would swallow or change what follows:
// they cannot be passed as typed.
int interpreter_Characters(const char *value, char16_t (&chars)[TEXT_SIZE])
{
    const int length = static_cast<int>(std::strlen(value));
    if (length == 0) {
        return 0;
    }
    wchar_t wide[TEXT_SIZE];
    const int count = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, value, length, wide,
                                          static_cast<int>(TEXT_SIZE) - 1);
    for (int i = 0; i < count; ++i) {
        chars[i] = static_cast<char16_t>(wide[i]);
    }
    return count > 0 ? count : -1;
}
