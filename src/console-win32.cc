// Console services on Windows: the console commands and the netsh lines run
// through cmd.exe, the delay is the kernel's Sleep.
#include <cstring>

#include <windows.h>

#include "console.h"

namespace {

// Asked before any command runs, since while one runs cmd.exe and netsh are
// on the console too. Alone on it, the tool was given a window of its own (a
// double-click, "Run as administrator", or the UAC prompt from a console that
// had no administrator rights), and that window closes when the tool ends.
bool alone_On_Console()
{
    DWORD ids[2];
    return GetConsoleProcessList(ids, 2) == 1;
}

// Windows' C functions throw nothing; a noexcept here would only link in the
// C++ exception runtime (the .exe would grow fivefold).
const bool own_window = alone_On_Console(); // NOLINT(cert-err58-cpp)

} // namespace

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

bool window_Closes_With_Tool()
{
    return own_window;
}

void sleep_Ms(unsigned ms)
{
    Sleep(ms);
}

// Runs line as system() does, "%COMSPEC% /c LINE", waiting for its status,
// with two differences that keep what runs the line's own:
// - "/v:off": where the registry turns delayed expansion on for every cmd.exe
//   (DelayedExpansion under Software\Microsoft\Command Processor), a typed
//   !OS! would be expanded, a lone ! dropped and a ^ in quotes stripped. Of
//   two such switches the last wins.
// - The system folder is the working folder: cmd.exe looks for netsh there
//   before the search path, so a netsh.bat or netsh.exe in the folder the tool
//   was started from (Downloads, say) never runs in Windows' own netsh's place.
// Without COMSPEC the interpreter is the system folder's cmd.exe, never one
// found by a search, which would look in the current folder first.
int interpret_Line(const char *line)
{
    char folder[MAX_PATH];
    const UINT folder_length = GetSystemDirectoryA(folder, MAX_PATH);
    if (folder_length == 0 || folder_length >= MAX_PATH) {
        return -1;
    }
    constexpr char SYSTEM_CMD[] = "\\cmd.exe";
    char shell[MAX_PATH];
    const DWORD shell_length = GetEnvironmentVariableA("COMSPEC", shell, MAX_PATH);
    if (shell_length >= MAX_PATH ||
        (shell_length == 0 && folder_length + sizeof SYSTEM_CMD > MAX_PATH)) {
        return -1;
    }
    if (shell_length == 0) {
        std::strcpy(shell, folder);
        std::strcat(shell, SYSTEM_CMD);
    }
    // "SHELL" /v:off /c LINE, with room for the interpreter's path, the switches
    // and a whole command line.
    char command[MAX_PATH + sizeof "\"\" /v:off /c " + TEXT_SIZE];
    std::strcpy(command, "\"");
    std::strcat(command, shell);
    std::strcat(command, "\" /v:off /c ");
    std::strcat(command, line);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(shell, command, nullptr, nullptr, TRUE, 0, nullptr, folder, &startup,
                       &process) == 0) {
        return -1; // could not be started: a failure
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    const BOOL known = GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return known != 0 ? static_cast<int>(status) : -1;
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

// CreateProcessA turns the line into Unicode with the ANSI code page (936 on
// a Chinese Windows); cmd.exe reads that Unicode line. So the characters are
// what the system's own conversion makes of the bytes. Bytes that are not
// whole text there (a lead byte at the end, or before a byte that cannot
// follow it) would swallow or change what follows: they cannot be passed as
// typed.
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
