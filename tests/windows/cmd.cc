// The system folder's cmd.exe in the tests. It does what Windows' own does with two of the user's
// settings that wine's ignores (HKCU\Software\Microsoft\Command Processor): AutoRun runs first
// unless /d is given, and DelayedExpansion=1 turns delayed expansion on unless /v:off follows. Then
// it hands its switches and line to wine's own cmd.exe (copied beside it as winecmd.exe).
#include <cwchar>

#include <process.h>
#include <windows.h>

int wmain()
{
    const wchar_t *const wine_cmd = L"C:\\windows\\system32\\winecmd.exe";
    const wchar_t *const settings = L"Software\\Microsoft\\Command Processor";
    const wchar_t *line = GetCommandLineW();
    const wchar_t *name_end = std::wcschr(line + 1, *line == L'"' ? L'"' : L' ');
    wchar_t autorun[1000];
    DWORD size = sizeof autorun;
    // No line the tool runs holds a " /d " after its /c.
    if (std::wcsstr(line, L" /d ") == nullptr && std::wcsstr(line, L" /D ") == nullptr &&
        RegGetValueW(HKEY_CURRENT_USER, settings, L"AutoRun", RRF_RT_REG_SZ, nullptr, autorun,
                     &size) == ERROR_SUCCESS) {
        const wchar_t *argv[] = {L"winecmd.exe", L"/d", L"/c", autorun, nullptr};
        _wspawnv(_P_WAIT, wine_cmd, argv);
    }
    DWORD delayed = 0;
    size = sizeof delayed;
    RegGetValueW(HKEY_CURRENT_USER, settings, L"DelayedExpansion", RRF_RT_REG_DWORD, nullptr,
                 &delayed, &size);
    const wchar_t *argv[] = {L"winecmd.exe", delayed == 1 ? L"/V:ON" : L"",
                             name_end != nullptr ? name_end + 1 : L"", nullptr};
    return static_cast<int>(_wspawnv(_P_WAIT, wine_cmd, argv)); // joined as they are
}
