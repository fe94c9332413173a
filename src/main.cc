// wifi-hotspot: a menu that starts, stops or configures the laptop's hosted
// network, then ends.
#include <cstring>
#include <iterator>

#include "console.h"
#include "fixed-text.h"
#include "hostednetwork.h"
#include "texts.h"

namespace {

const char *const menu[] = {text::MENU_TITLE, text::MENU_OPEN, text::MENU_CLOSE, text::MENU_CREATE,
                            text::MENU_END};

void print_Menu(const char *s)
{
    write_Text(s);
    write_Text("\n");
}

// Writes every row of the menu, the first (0) to the last (4), in order.
void create_Menu()
{
    constexpr int LAST_ROW = static_cast<int>(std::size(menu)) - 1;
    for (int i = 0; i <= LAST_ROW; ++i) {
        print_Menu(menu[i]);
    }
}

} // namespace

int main()
{
    char choice[TEXT_SIZE];
    color_Screen();
    for (;;) {
        create_Menu();
        write_Text(text::PROMPT);
        if (read_Token(choice) == Token::End) {
            return 0; // nothing more will come: end as if the user had left
        }
        if (std::strcmp(choice, "1") == 0) {
            openWifi();
            return 0;
        }
        if (std::strcmp(choice, "2") == 0) {
            closeWifi();
            return 0;
        }
        if (std::strcmp(choice, "3") == 0) {
            createWifi();
            return 0;
        }
        write_Text(text::WRONG_CHOICE);
        delay_Ms(REFUSAL_DELAY_MS);
        clear_Screen();
    }
}
