// Puts Ctrl+Z and Enter into its console's input as a keyboard does (wine's console drops a Ctrl+Z
// typed on a terminal), for the program started next.
#include <windows.h>

int wmain()
{
    INPUT_RECORD keys[4] = {}; // each key down, then up
    for (int i = 0; i < 4; ++i) {
        keys[i].EventType = KEY_EVENT;
        KEY_EVENT_RECORD &key = keys[i].Event.KeyEvent;
        key.bKeyDown = i % 2 == 0 ? TRUE : FALSE;
        key.wRepeatCount = 1;
        key.uChar.UnicodeChar = i < 2 ? L'\x1a' : L'\r';
        key.wVirtualKeyCode = i < 2 ? 'Z' : VK_RETURN;
        key.dwControlKeyState = i < 2 ? LEFT_CTRL_PRESSED : 0;
    }
    DWORD written = 0;
    return WriteConsoleInputW(GetStdHandle(STD_INPUT_HANDLE), keys, 4, &written) != 0 ? 0 : 1;
}
