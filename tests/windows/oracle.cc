// oracle.exe PREFIX: runs each line of standard input as the tool runs a command line (the C
// runtime joins the arguments by blanks, the bytes read in the ANSI code page), from the system
// folder, with Windows' own search path and extensions. Line i's netsh logs to PREFIXi.log.
#include <cstdio>
#include <cstring>
#include <cwchar>

#include <process.h>
#include <windows.h>

int wmain(int /*argc*/, wchar_t **argv)
{
    SetEnvironmentVariableW(L"PATH", L"C:\\windows\\system32;C:\\windows");
    SetEnvironmentVariableW(L"PATHEXT", L".COM;.EXE;.BAT;.CMD");
    SetEnvironmentVariableW(L"NoDefaultCurrentDirectoryInExePath", nullptr);
    SetEnvironmentVariableW(L"windir", L"C:\\windows");
    SetCurrentDirectoryW(L"C:\\windows\\system32");
    char line[1000];
    for (int i = 0; std::fgets(line, sizeof line, stdin) != nullptr; ++i) {
        line[std::strcspn(line, "\n")] = '\0';
        wchar_t log[MAX_PATH];
        std::swprintf(log, MAX_PATH, L"%ls%d.log", argv[1], i);
        SetEnvironmentVariableW(L"NETSH_LOG", log);
        const char *const cmd = "C:\\windows\\system32\\cmd.exe";
        _spawnl(_P_WAIT, cmd, cmd, "/e:ON", "/v:OFF", "/d", "/c", line, nullptr);
    }
    return 0;
}
