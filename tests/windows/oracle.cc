// Runs each line of the file LINES as the tool runs a command line, one after another:
// "C:\windows\system32\cmd.exe" /e:ON /v:OFF /d /c LINE from the system folder, the line's bytes
// read in the ANSI code page, with Windows' own search path and extensions in place of the user's.
// The stand-in netsh logs line i's runs to PREFIXi.log.   oracle.exe LINES PREFIX
#include <cstdio>
#include <cstring>
#include <cwchar>

#include <windows.h>

int wmain(int argc, wchar_t **argv)
{
    std::FILE *lines = argc == 3 ? _wfopen(argv[1], L"rb") : nullptr;
    if (lines == nullptr) {
        return 2;
    }
    SetEnvironmentVariableW(L"PATH", L"C:\\windows\\system32;C:\\windows");
    SetEnvironmentVariableW(L"PATHEXT", L".COM;.EXE;.BAT;.CMD");
    SetEnvironmentVariableW(L"NoDefaultCurrentDirectoryInExePath", nullptr);
    SetEnvironmentVariableW(L"windir", L"C:\\windows");
    char line[1000];
    for (int i = 0; std::fgets(line, sizeof line, lines) != nullptr; ++i) {
        line[std::strcspn(line, "\n")] = '\0';
        wchar_t log[MAX_PATH];
        std::swprintf(log, MAX_PATH, L"%ls%d.log", argv[2], i);
        SetEnvironmentVariableW(L"NETSH_LOG", log);
        char command[1100] = "\"C:\\windows\\system32\\cmd.exe\" /e:ON /v:OFF /d /c ";
        std::strcat(command, line);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr,
                           "C:\\windows\\system32", &startup, &process) == 0) {
            return 1;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 0;
}
