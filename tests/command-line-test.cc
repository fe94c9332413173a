// cmd.exe's % as Windows documents it, where wine's cmd.exe knows fewer names than Windows (the end-to-end
// oracle asks wine's), and the rule that keeps a line as typed without knowing any name: at most one %.
// The sources:
// [set]  "set /?", learn.microsoft.com/windows-server/administration/windows-commands/set_1
// [ss64] ss64.com/nt/syntax-variables.html: the undocumented and the hidden variables
// [so]   stackoverflow.com/questions/4094699, dbenham's answer: the percent phase of a command line
#include <tuple>

#include <gtest/gtest.h>

#include "command-line.h"

// Each row: a line, whether cmd.exe runs it as it stands, whatever its environment holds, and the source.
const std::tuple<const char *, bool, const char *> DOCUMENTED[] = {
    {"ssid=x%CMDEXTVERSION%y", false, "[set] a dynamic variable: replaced"},
    {"ssid=x%=C:%y", false, "[ss64] a hidden variable, the current folder of drive C:: replaced"},
    {"ssid=x%FIRMWARE_TYPE%y", false, "[ss64] Windows 8 and later: replaced"},
    {"ssid=x%a%OS%y", false, "[so] an unknown name stays, and the reading goes on at its closing %: OS replaced"},
    {"ssid=x%nosuch%y", false, "[so] an undefined name stays, until a Windows or a user defines it"},
    {"ssid=x%OS:y key=\"%&calc12\"", false, "[set] two values join: y key in OS replaced by \""},
    {"ssid=a key=50%off1234", true, "[so] a % that nothing closes stays"},
};

TEST(CmdExe, PercentAsDocumented)
{
    for (const auto &[line, as_typed, why] : DOCUMENTED) {
        EXPECT_EQ(is_Literal_Line(CMD_EXE, line), as_typed) << line << ": " << why;
    }
}
