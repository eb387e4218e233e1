// GBK conversions: the bytes the bank's texts become, with ASCII texts taking a shortcut that
// must give what the full conversion gives.
#include "text/gbk.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Gbk, AsciiIsTheSameBytesBothWays) {
  std::u16string wide;
  std::string narrow;
  for (char16_t c = 0; c < 0x80; ++c) {
    wide += c;
    narrow += static_cast<char>(c);
  }
  EXPECT_EQ(text::Utf16ToGbk(wide), narrow);
  EXPECT_EQ(text::GbkToUtf16(narrow), wide);
  EXPECT_EQ(text::GbkToUtf8(narrow), narrow);
  EXPECT_EQ(text::Utf16ToGbk(u""), "");
  EXPECT_EQ(text::GbkToUtf16(""), u"");
}

TEST(Gbk, ChineseTextsAndWhatGbkCannotHold) {
  EXPECT_EQ(text::Utf16ToGbk(u"正确"), "\xD5\xFD\xC8\xB7");
  EXPECT_EQ(text::Utf16ToGbk(u"A正确B"),
            "A\xD5\xFD\xC8\xB7"
            "B");
  EXPECT_EQ(text::GbkToUtf16("A\xD5\xFD\xC8\xB7"
                             "B"),
            u"A正确B");
  EXPECT_EQ(text::GbkToUtf8("\xD5\xFD"), "正");
  // A character outside GBK is one "?", a character outside the basic plane too.
  EXPECT_EQ(text::Utf16ToGbk(u"ł正"), "?\xD5\xFD");
  EXPECT_EQ(text::Utf16ToGbk(u"ł"), "?");
  EXPECT_EQ(text::GbkToUtf16("\xA8\xA6"), u"é");
  EXPECT_EQ(text::Utf16ToGbk(u"a\U0001F600b"), "a?b");
  // A lead byte without its trail byte.
  EXPECT_EQ(text::GbkToUtf16("a\xD5"), u"a?");
  EXPECT_TRUE(text::FitsGbk("正确 ok"));
  EXPECT_FALSE(text::FitsGbk("łukasz"));
}

}  // namespace
