// cmd.exe's %name% rules as Windows documents them, where wine's cmd.exe does otherwise or knows
// fewer names; the names wine knows too, the end-to-end oracle checks against it. Sources:
//   [set]  cmd.exe's help, "set /?", also at
//          https://learn.microsoft.com/windows-server/administration/windows-commands/set_1
//   [ss64] https://ss64.com/nt/syntax-variables.html, undocumented and hidden variables
//   [so]   https://stackoverflow.com/questions/4094699, dbenham's answer: the percent phase of a
//          command line, which is not a batch file's
#include <strings.h>

#include <gtest/gtest.h>

#include "command-line.h"

namespace {

bool in_Environment(const char *name) // the environment the rows are read in: OS and PATH
{
    return strcasecmp(name, "OS") == 0 || strcasecmp(name, "PATH") == 0;
}

struct Documented {
    const char *value; // typed as the name
    bool literal;      // cmd.exe runs the line as it stands
    const char *source;
};

const Documented DOCUMENTED[] = {
    {"x%nosuch%y", true, "[so] an unknown name is left as it stands on a command line"},
    {"x%a%OS%y", false, "[so] and the reading goes on at its closing %, which opens %OS%"},
    {"x%nosuch:a%OS%y", false, "[so] or after the ':' that ended the unknown name"},
    {"x%PATH:%y", true, "[so] a ':' right before a % is part of the name: PATH: is unknown"},
    {"x%PATH:~0,1%y", false, "[set] a substring of a known name"},
    {"x%=C:%y", false, "[ss64] a hidden variable: the current folder of drive C:"},
    {"x%=ExitCode%y", false, "[ss64] a hidden variable: the last exit code"},
    {"x%CMDEXTVERSION%y", false, "[set] a dynamic variable"},
    {"x%CMDCMDLINE%y", false, "[set] a dynamic variable"},
    {"x%HIGHESTNUMANODENUMBER%y", false, "[set] a dynamic variable"},
    {"x%__CD__%y", false, "[ss64] an undocumented variable"},
    {"x%__APPDIR__%y", false, "[ss64] an undocumented variable"},
    {"x%firmware_type%y", false, "[ss64] Windows 8 and later; names in any case"},
};

TEST(CmdExe, ReplacesPercentNamesAsDocumented)
{
    for (const Documented &row : DOCUMENTED) {
        char line[TEXT_SIZE] = "netsh wlan set hostednetwork mode=allow ssid=";
        ASSERT_TRUE(append_Quoted(line, row.value, '\0'));
        ASSERT_TRUE(append_Quoted(line, " key=12345678", '\0'));
        EXPECT_EQ(is_Literal_Line(CMD_EXE, line, in_Environment), row.literal)
            << row.value << ": " << row.source;
    }
}

} // namespace
