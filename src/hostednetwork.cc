// Start, stop and configure the hosted network with one netsh line each.
#include "hostednetwork.h"

#include <cstring>

#include "console.h"
#include "fixed-text.h"
#include "texts.h"

namespace {

const char openNet[TEXT_SIZE] = "netsh wlan start hostednetwork";
const char closeNet[TEXT_SIZE] = "netsh wlan stop hostednetwork";

// The configure line: this template, then the name, " key=" and the password.
constexpr char CREATE_TEMPLATE[] = "netsh wlan set hostednetwork mode=allow ssid=";
char createNet[TEXT_SIZE];

constexpr std::size_t MIN_KEY_BYTES = 8;

// Runs a command line and reports its outcome; on success the user presses a
// key before the program ends. A failure is reported without the wait, unless
// the window would close with the tool and take the report with it.
void run_Reported(const char *line, const char *success, const char *failure)
{
    if (run_Command(line) == 0) {
        write_Text(success);
        pause_Key();
    } else {
        write_Text(failure);
        if (window_Closes_With_Tool()) {
            pause_Key();
        }
    }
}

void refuse(const char *why)
{
    write_Text(why);
    delay_Ms(REFUSAL_DELAY_MS);
}

// Writes prompt and reads a value into buf, asking again (with again) while it
// is shorter than min_bytes or cannot reach the command as typed. Returns End
// at end of input, and Unfit for a token too long to store, which the caller
// refuses with the whole command line.
Token ask_Value(char (&buf)[TEXT_SIZE], const char *prompt, const char *again,
                std::size_t min_bytes)
{
    write_Text(prompt);
    for (;;) {
        const Token token = read_Token(buf);
        if (token == Token::End || token == Token::Unfit) {
            return token;
        }
        if (token == Token::Word && std::strlen(buf) < min_bytes) {
            refuse(text::KEY_SHORT);
        } else if (token == Token::Unusable || !is_Passable(buf)) {
            refuse(text::UNUSABLE);
        } else {
            return token;
        }
        write_Text(again);
    }
}

// Builds the configure line afresh, so that a refused attempt leaves nothing
// behind. False when it does not fit in 99 bytes.
bool build_CreateNet(const char *ssid, const char *key)
{
    createNet[0] = '\0';
    return append_Text(createNet, CREATE_TEMPLATE) && append_Value(createNet, ssid) &&
           append_Text(createNet, " key=") && append_Value(createNet, key);
}

} // namespace

void openWifi()
{
    clear_Screen();
    run_Reported(openNet, text::OPEN_OK, text::OPEN_FAIL);
}

void closeWifi()
{
    clear_Screen();
    run_Reported(closeNet, text::CLOSE_OK, text::CLOSE_FAIL);
}

void createWifi()
{
    char ssid[TEXT_SIZE];
    char key[TEXT_SIZE];
    clear_Screen();
    for (;;) {
        const Token name = ask_Value(ssid, text::NAME_PROMPT, text::NAME_PROMPT, 0);
        if (name == Token::End) {
            return;
        }
        const Token password = ask_Value(key, text::KEY_PROMPT, text::KEY_AGAIN, MIN_KEY_BYTES);
        if (password == Token::End) {
            return;
        }
        if (name != Token::Word || password != Token::Word || !build_CreateNet(ssid, key)) {
            refuse(text::TOO_LONG);
        } else if (!runs_As_Typed(createNet)) {
            refuse(text::UNUSABLE); // the two values together: a % in each, say
        } else {
            break;
        }
    }
    run_Reported(createNet, text::CREATE_OK, text::CREATE_FAIL);
}
