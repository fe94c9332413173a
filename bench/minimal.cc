// The least a program can do for the same start: write the menu and the
// prompt, read one token. The benchmark compares wifi-hotspot with it.
#include <cstdio>

#include "../src/texts.h"

int main()
{
    const char *const rows[] = {text::MENU_TITLE, text::MENU_OPEN, text::MENU_CLOSE,
                                text::MENU_CREATE, text::MENU_END};
    for (const char *row : rows) {
        std::printf("%s\n", row);
    }
    std::fputs(text::PROMPT, stdout);
    char token[TEXT_SIZE];
    const int read = std::scanf("%99s", token);
    static_cast<void>(read);
    return 0;
}
