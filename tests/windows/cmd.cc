// A stand-in for Windows' cmd.exe, as the system folder's cmd.exe: it does what Windows' cmd.exe
// does with two of the user's settings (Software\Microsoft\Command Processor) that wine's own
// cmd.exe ignores, then hands its switches and line to wine's own (winecmd.exe beside it):
// - AutoRun runs before the line unless /D is among the switches;
// - DelayedExpansion=1 turns delayed expansion on unless /V:OFF says otherwise.
// It exits with the status of the line.
#include <cwchar>
#include <initializer_list>

#include <process.h>
#include <windows.h>

namespace {

const wchar_t *const WINE_CMD = L"C:\\windows\\system32\\winecmd.exe";
const wchar_t *const SETTINGS = L"Software\\Microsoft\\Command Processor";

bool has_Switch_D(const wchar_t *args) // the switches before /C or /K
{
    for (const wchar_t *s = std::wcschr(args, L'/'); s != nullptr; s = std::wcschr(s + 1, L'/')) {
        const wchar_t name = static_cast<wchar_t>(towupper(s[1]));
        if (name == L'C' || name == L'K') {
            return false;
        }
        if (name == L'D' && (s[2] == L' ' || s[2] == L'/')) {
            return true;
        }
    }
    return false;
}

} // namespace

int wmain()
{
    const wchar_t *line = GetCommandLineW();
    const wchar_t *name_end = std::wcschr(line + 1, *line == L'"' ? L'"' : L' ');
    const wchar_t *args = name_end != nullptr ? name_end + 1 : L"";
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        wchar_t autorun[1000];
        DWORD size = sizeof autorun;
        if (has_Switch_D(args)) {
            break;
        }
        if (RegGetValueW(root, SETTINGS, L"AutoRun", RRF_RT_REG_SZ, nullptr, autorun, &size) == 0) {
            const wchar_t *argv[] = {L"winecmd.exe", L"/D", L"/C", autorun, nullptr};
            _wspawnv(_P_WAIT, WINE_CMD, argv);
        }
    }
    DWORD delayed = 0;
    DWORD size = sizeof delayed;
    RegGetValueW(HKEY_CURRENT_USER, SETTINGS, L"DelayedExpansion", RRF_RT_REG_DWORD, nullptr,
                 &delayed, &size);
    const wchar_t *argv[] = {L"winecmd.exe", delayed == 1 ? L"/V:ON" : L"", args, nullptr};
    return static_cast<int>(_wspawnv(_P_WAIT, WINE_CMD, argv)); // joined as they are
}
