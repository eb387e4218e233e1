// RC4 against published vectors, and the bank's use of it.
#include "bank/cipher.h"

#include <gtest/gtest.h>

#include "base/rc4.h"

namespace {

std::string Hex(const std::string& s) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

TEST(Rc4, PublishedVectors) {
  EXPECT_EQ(Hex(base::Rc4Transform("Key", "Plaintext")), "bbf316e8d940af0ad3");
  EXPECT_EQ(Hex(base::Rc4Transform("Wiki", "pedia")), "1021bf0420");
  EXPECT_EQ(Hex(base::Rc4Transform("Secret", "Attack at dawn")), "45a01f645fc35b383552544b9bf5");
  // RFC 6229, 40-bit key 0x0102030405: keystream bytes 0..31.
  const std::string key("\x01\x02\x03\x04\x05", 5);
  EXPECT_EQ(Hex(base::Rc4Transform(key, std::string(32, '\0'))),
            "b2396305f03dc027ccc3524a0a1118a8"
            "6982944f18fc82d589c403a47a0d0919");
  // The database header mask: key C7 DA 39 6B.
  EXPECT_EQ(Hex(base::Rc4Transform("\xC7\xDA\x39\x6B", std::string(16, '\0'))),
            "b56f03626108c255eba96772433f009c");
}

TEST(Rc4, StreamingEqualsOneShot) {
  std::string data(1000, 'x');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
  std::string pieces = data;
  base::Rc4 rc4(std::string_view("vendrax"));
  std::string a = pieces.substr(0, 333), b = pieces.substr(333);
  rc4.Apply(a);
  rc4.Apply(b);
  EXPECT_EQ(a + b, base::Rc4Transform("vendrax", data));
}

TEST(BankCipher, FreshStateEveryValueAndRoundTrip) {
  const std::string text = "\xd5\xfd\xc8\xb7";  // GBK bytes
  EXPECT_EQ(bank::Encipher(text), bank::Encipher(text)) << "no state carries over";
  EXPECT_NE(bank::Encipher(text), text);
  EXPECT_EQ(bank::Decipher(bank::Encipher(text)), text);
  EXPECT_EQ(bank::Encipher(text).size(), text.size());
  EXPECT_EQ(bank::Decipher(""), "");
  EXPECT_EQ(bank::Encipher(text), base::Rc4Transform("vendrax", text));
}

}  // namespace
