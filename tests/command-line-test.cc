// cmd.exe's % as Windows documents it, where wine's cmd.exe knows fewer names (the end-to-end
// oracle asks wine's), against the rule that needs no names: a line with two % is not as typed.
// [set]  "set /?", learn.microsoft.com/windows-server/administration/windows-commands/set_1
// [ss64] ss64.com/nt/syntax-variables.html: the undocumented and the hidden variables
// [so]   stackoverflow.com/questions/4094699, dbenham's answer: the percent phase of a command line
#include <tuple>

#include <gtest/gtest.h>

#include "command-line.h"

// Each row: a line, whether cmd.exe runs it as it stands whatever it knows, and the source.
const std::tuple<const char *, bool, const char *> DOCUMENTED[] = {
    {"ssid=x%CMDEXTVERSION%y", false, "[set] a dynamic variable: replaced"},
    {"ssid=x%=C:%y", false, "[ss64] a hidden variable, drive C:'s folder: replaced"},
    {"ssid=x%FIRMWARE_TYPE%y", false, "[ss64] Windows 8 and later: replaced"},
    {"ssid=x%a%OS%y", false, "[so] an unknown name stays; from its closing %, OS replaced"},
    {"ssid=x%nosuch%y", false, "[so] an undefined name stays, till a Windows defines it"},
    {"ssid=x%OS:y key=\"%&calc12\"", false, "[set] two values join: y key in OS replaced"},
    {"ssid=a key=50%off1234", true, "[so] a % that nothing closes stays"},
};

TEST(CmdExe, PercentAsDocumented)
{
    for (const auto &[line, as_typed, why] : DOCUMENTED) {
        EXPECT_EQ(is_Literal_Line(CMD_EXE, line), as_typed) << line << ": " << why;
    }
}
