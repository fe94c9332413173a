// The system folder's cmd.exe in the tests. It does what Windows' own does with two of the user's
// settings that wine's ignores (HKCU\Software\Microsoft\Command Processor), at their worst: AutoRun
// runs first unless /d is given, and delayed expansion is on (DelayedExpansion=1) unless /v:off
// follows. Then it hands its switches and line to wine's own cmd.exe (copied beside it as
// winecmd.exe).
#include <cwchar>

#include <process.h>
#include <windows.h>

int wmain()
{
    const wchar_t *const wine_cmd = L"C:\\windows\\system32\\winecmd.exe";
    const wchar_t *line = GetCommandLineW();
    const wchar_t *name_end = std::wcschr(line + 1, *line == L'"' ? L'"' : L' ');
    wchar_t autorun[1000];
    DWORD size = sizeof autorun;
    // No line the tool runs holds a " /d " after its /c.
    if (std::wcsstr(line, L" /d ") == nullptr && std::wcsstr(line, L" /D ") == nullptr &&
        RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Command Processor", L"AutoRun",
                     RRF_RT_REG_SZ, nullptr, autorun, &size) == ERROR_SUCCESS) {
        const wchar_t *argv[] = {L"winecmd.exe", L"/d", L"/c", autorun, nullptr};
        _wspawnv(_P_WAIT, wine_cmd, argv);
    }
    const wchar_t *argv[] = {L"winecmd.exe", L"/V:ON", name_end != nullptr ? name_end + 1 : L"",
                             nullptr};
    return static_cast<int>(_wspawnv(_P_WAIT, wine_cmd, argv)); // joined as they are
}
