// The platform-neutral console services and the stored texts.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "../src/texts.h"
#include "script_console.h"

namespace {

// A token is stored whole up to 99 bytes; a longer one is consumed whole and
// nothing is ever stored past the 100-byte buffer.
TEST(ReadToken, HoldsNinetyNineBytesAndNoMore)
{
    Script script;
    const std::string fits(99, 'a');
    const std::string over(100, 'b');
    script.input = fits + " " + over + "\n" + std::string(5000, 'c') + " ok";
    attach_Script(script);
    char guarded[TEXT_SIZE + 1];
    guarded[TEXT_SIZE] = '#';
    char(&buf)[TEXT_SIZE] = *reinterpret_cast<char(*)[TEXT_SIZE]>(guarded);
    ASSERT_EQ(read_Token(buf), Token::Word);
    EXPECT_EQ(std::string(buf), fits);
    EXPECT_EQ(read_Token(buf), Token::Unfit);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(read_Token(buf), Token::Unfit);
    EXPECT_EQ(guarded[TEXT_SIZE], '#');
    ASSERT_EQ(read_Token(buf), Token::Word); // the long tokens were consumed whole
    EXPECT_STREQ(buf, "ok");
}

// Every text: its GBK bytes decode to the readable text beside them.
struct StoredText {
    const char *name;
    const char *readable;
    const char *gbk;
};

#define WIFI_HOTSPOT_ROW(name, readable, gbk) {#name, readable, text::name},
const StoredText TEXTS[] = {WIFI_HOTSPOT_TEXTS(WIFI_HOTSPOT_ROW)};
#undef WIFI_HOTSPOT_ROW

std::string gbk_To_Utf8(const std::string &gbk)
{
    iconv_t cd = iconv_open("UTF-8", "GBK");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string in = gbk;
    std::string out(gbk.size() * 2, '\0');
    char *src = in.data();
    char *dst = out.data();
    std::size_t left = in.size();
    std::size_t room = out.size();
    EXPECT_NE(iconv(cd, &src, &left, &dst, &room), static_cast<std::size_t>(-1)) << gbk;
    iconv_close(cd);
    out.resize(out.size() - room);
    return out;
}

TEST(Texts, GbkBytesSayTheReadableText)
{
    for (const StoredText &t : TEXTS) {
        EXPECT_EQ(gbk_To_Utf8(t.gbk), t.readable) << t.name;
    }
}

} // namespace
