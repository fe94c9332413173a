// The menu and the three operations, driven through the scripted console:
// keys in, the screen and the commands out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../src/texts.h"
#include "script_console.h"

namespace {

const std::string MENU = std::string(text::menu_title) + "\n" + text::menu_open + "\n" +
                         text::menu_close + "\n" + text::menu_create + "\n" + text::menu_end +
                         "\n" + text::prompt;
const std::string START = "[color]" + MENU;
const std::string WRONG = std::string(text::wrong_choice) + "[delay 1500][cls]" + MENU;
const std::string OPEN = "netsh wlan start hostednetwork";
const std::string CLOSE = "netsh wlan stop hostednetwork";
const std::string SET = "netsh wlan set hostednetwork mode=allow ssid=";
const std::string ASK = std::string("[cls]") + text::name_prompt + text::key_prompt;
const std::string SHORT = std::string(text::key_short) + "[delay 1500]" + text::key_again;
const std::string UNUSABLE = std::string(text::unusable) + "[delay 1500]";
const std::string TOO_LONG =
    std::string(text::too_long) + "[delay 1500]" + text::name_prompt + text::key_prompt;

std::string run(const std::string &line)
{
    return "[run " + line + "]";
}

struct Case {
    const char *name;
    std::string input;
    std::vector<int> statuses;
    std::string screen; // after START
    std::vector<std::string> commands;
    const Interpreter *shell = &posix_sh;
};

const std::string NAME41(41, 'n');
const std::string LONG(150, 'x');

// clang-format off
const Case CASES[] = {
    // Start and stop: the result text, and a key only after success.
    {"start", "1\n", {0}, "[cls]" + run(OPEN) + text::open_ok + "[pause]", {OPEN}},
    {"start fails", "1\n", {1}, "[cls]" + run(OPEN) + text::open_fail, {OPEN}},
    {"start fails with -1", "1", {-1}, "[cls]" + run(OPEN) + text::open_fail, {OPEN}},
    {"stop", "2\n", {0}, "[cls]" + run(CLOSE) + text::close_ok + "[pause]", {CLOSE}},
    {"stop fails", "2\n", {2}, "[cls]" + run(CLOSE) + text::close_fail, {CLOSE}},
    {"blanks before the choice", " \t\r\n\v\f 1", {0}, "[cls]" + run(OPEN) + text::open_ok + "[pause]",
     {OPEN}},
    // Anything but 1, 2 or 3 is refused, each token once, the next read from the same line.
    {"refusals then stop", "4 0 a 11 1a \xa3\xb1 -1 2", {0},
     WRONG + WRONG + WRONG + WRONG + WRONG + WRONG + WRONG + "[cls]" + run(CLOSE) + text::close_ok +
         "[pause]",
     {CLOSE}},
    {"overlong choice refused once", LONG + " 2", {0},
     WRONG + "[cls]" + run(CLOSE) + text::close_ok + "[pause]", {CLOSE}},
    {"NUL in a choice", std::string("1\0 2", 4), {0},
     WRONG + "[cls]" + run(CLOSE) + text::close_ok + "[pause]", {CLOSE}},
    // Configure.
    {"configure", "3\nhome\nsecret12\n", {0},
     ASK + run(SET + "home key=secret12") + text::create_ok + "[pause]", {SET + "home key=secret12"}},
    {"configure fails", "3\nhome secret12", {5},
     ASK + run(SET + "home key=secret12") + text::create_fail, {SET + "home key=secret12"}},
    {"short passwords asked again", "3 home 1234567 abc 12345678", {0},
     ASK + SHORT + SHORT + run(SET + "home key=12345678") + text::create_ok + "[pause]",
     {SET + "home key=12345678"}},
    {"eight GBK bytes are enough", "3 \xce\xde\xcf\xdf \xc3\xdc\xc2\xeb\xc3\xdc\xc2\xeb", {0},
     ASK + run(SET + "\xce\xde\xcf\xdf key=\xc3\xdc\xc2\xeb\xc3\xdc\xc2\xeb") + text::create_ok +
         "[pause]",
     {SET + "\xce\xde\xcf\xdf key=\xc3\xdc\xc2\xeb\xc3\xdc\xc2\xeb"}},
    // The command line holds 99 bytes: 41 + 8 fit, one more does not.
    {"99 bytes fit", "3 " + NAME41 + " 12345678", {0},
     ASK + run(SET + NAME41 + " key=12345678") + text::create_ok + "[pause]",
     {SET + NAME41 + " key=12345678"}},
    {"100 bytes asked again", "3 " + NAME41 + "n 12345678 home 12345678", {0},
     ASK + TOO_LONG + run(SET + "home key=12345678") + text::create_ok + "[pause]",
     {SET + "home key=12345678"}},
    {"overlong name", "3 " + LONG + " 12345678 home 12345678", {0},
     ASK + TOO_LONG + run(SET + "home key=12345678") + text::create_ok + "[pause]",
     {SET + "home key=12345678"}},
    {"overlong password", "3 home " + LONG + " home 12345678", {0},
     ASK + TOO_LONG + run(SET + "home key=12345678") + text::create_ok + "[pause]",
     {SET + "home key=12345678"}},
    {"NUL in a name", std::string("3 ho\0me 12345678 home 12345678", 30), {0},
     ASK + TOO_LONG + run(SET + "home key=12345678") + text::create_ok + "[pause]",
     {SET + "home key=12345678"}},
    // Values the shell would act on are quoted, or refused where quotes cannot help.
    {"sh quotes", "3 a&b;c $(reboot)`x`", {0},
     ASK + run(SET + "'a&b;c' key='$(reboot)`x`'") + text::create_ok + "[pause]",
     {SET + "'a&b;c' key='$(reboot)`x`'"}},
    {"sh refuses a quote", "3 it's home x'1234567 12345678", {0},
     "[cls]" + std::string(text::name_prompt) + UNUSABLE + text::name_prompt + text::key_prompt +
         UNUSABLE + text::key_again + run(SET + "home key=12345678") + text::create_ok + "[pause]",
     {SET + "home key=12345678"}},
    {"quotes count toward 99 bytes", "3 " + NAME41.substr(2) + "& 12345678 " + NAME41.substr(3) +
     "& 12345678", {0},
     ASK + TOO_LONG + run(SET + "'" + NAME41.substr(3) + "&' key=12345678") + text::create_ok +
         "[pause]",
     {SET + "'" + NAME41.substr(3) + "&' key=12345678"}},
    {"cmd quotes", "3 a&b|c <x>^(yz)", {0},
     ASK + run(SET + "\"a&b|c\" key=\"<x>^(yz)\"") + text::create_ok + "[pause]",
     {SET + "\"a&b|c\" key=\"<x>^(yz)\""}, &cmd_exe},
    {"cmd refuses % and quotes", "3 %PATH% a\"b home 1234567\" 1234%%%% 12345678", {0},
     "[cls]" + std::string(text::name_prompt) + UNUSABLE + text::name_prompt + UNUSABLE +
         text::name_prompt + text::key_prompt + UNUSABLE + text::key_again + UNUSABLE +
         text::key_again + run(SET + "home key=12345678") + text::create_ok + "[pause]",
     {SET + "home key=12345678"}, &cmd_exe},
    {"cmd backslashes", "3 a&b\\ c:\\ 1234567\\", {0},
     "[cls]" + std::string(text::name_prompt) + UNUSABLE + text::name_prompt + text::key_prompt +
         run(SET + "c:\\ key=1234567\\") + text::create_ok + "[pause]",
     {SET + "c:\\ key=1234567\\"}, &cmd_exe},
    // A GBK character whose second byte is | is judged byte by byte.
    {"cmd GBK trail byte", "3 \x81\x7c 12345678", {0},
     ASK + run(SET + "\"\x81\x7c\" key=12345678") + text::create_ok + "[pause]",
     {SET + "\"\x81\x7c\" key=12345678"}, &cmd_exe},
    // End of input at each read ends the program at once.
    {"end at the menu", "", {}, "", {}},
    {"end after a refusal", "9\n", {}, WRONG, {}},
    {"end at the name", "3\n  \n", {}, "[cls]" + std::string(text::name_prompt), {}},
    {"end at the password", "3 home", {}, ASK, {}},
    {"end at a short password", "3 home short", {}, ASK + SHORT, {}},
    {"end at a refused name", "3 a'b", {}, "[cls]" + std::string(text::name_prompt) + UNUSABLE +
     text::name_prompt, {}},
    {"end after too long", "3 " + LONG + " 12345678", {},
     ASK + text::too_long + "[delay 1500]" + text::name_prompt, {}},
};
// clang-format on

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

class Flow : public testing::TestWithParam<Case> {};

TEST_P(Flow, ScreenAndCommands)
{
    const Case &c = GetParam();
    Script script;
    script.input = c.input;
    script.statuses = c.statuses;
    script.shell = c.shell;
    EXPECT_EQ(run_Script(script), 0);
    EXPECT_EQ(script.screen, START + c.screen);
    EXPECT_EQ(script.commands, c.commands);
    EXPECT_FALSE(script.acted_after_end);
}

INSTANTIATE_TEST_SUITE_P(Cases, Flow, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<Case> &info) {
                             std::string name;
                             for (const char *p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

} // namespace
