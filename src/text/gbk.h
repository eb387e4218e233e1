// Conversions between GBK (code page 936), UTF-8 and UTF-16 (the UCS-2 of the bank file).
//
// Texts inside the program are GBK byte strings; these functions are the only place where they
// meet other encodings. A character that GBK cannot hold becomes "?", as the bank's readers
// always did; a byte sequence that is not valid in the source encoding becomes "?" as well,
// so a conversion never fails.
#pragma once

#include <string>
#include <string_view>

namespace text {

std::string Utf16ToGbk(std::u16string_view in);
std::u16string GbkToUtf16(std::string_view in);
std::string Utf8ToGbk(std::string_view in);
std::string GbkToUtf8(std::string_view in);
std::u16string Utf8ToUtf16(std::string_view in);
std::string Utf16ToUtf8(std::u16string_view in);

// True when every character of the UTF-8 text exists in GBK.
bool FitsGbk(std::string_view utf8);

}  // namespace text
