// A stand-in COMSPEC: runs cmd.exe with /V:ON before the switches it was given, as cmd.exe behaves
// where the registry turns delayed expansion on, and exits with its status.
#include <cwchar>

#include <process.h>
#include <windows.h>

int wmain()
{
    const wchar_t *line = GetCommandLineW();
    const wchar_t *name_end = std::wcschr(line + 1, *line == L'"' ? L'"' : L' ');
    const wchar_t *argv[] = {L"cmd.exe", L"/V:ON", name_end != nullptr ? name_end + 1 : L"",
                             nullptr};
    return static_cast<int>(
        _wspawnv(_P_WAIT, L"C:\\windows\\system32\\cmd.exe", argv)); // joined as they are
}
