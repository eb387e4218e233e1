// The GBK conversions on Windows code page 936; gbk_iconv.cpp does the same on iconv, and the
// two give the same results.
//
// Code page 936 also maps GBK's user-defined areas to the Private Use Area. iconv knows no
// such characters, and neither does the program: they become "?" in both directions.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "text/gbk.h"

namespace text {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16");

constexpr UINT kGbkCodePage = 936;
// Characters handed to Windows in one call; each becomes at most two GBK bytes.
constexpr size_t kChunk = size_t{1} << 20;

bool IsSurrogate(char16_t c) { return c >= 0xD800 && c < 0xE000; }
bool IsPrivateUse(char16_t c) { return c >= 0xE000 && c < 0xF900; }

// Converts UTF-16 without surrogates and private-use characters to GBK; a character GBK
// cannot hold becomes "?" (no best-fit look-alikes). Returns false if that happened.
bool AppendGbk(std::u16string_view in, std::string& out) {
  bool clean = true;
  while (!in.empty()) {
    const size_t n = in.size() < kChunk ? in.size() : kChunk;
    const size_t at = out.size();
    out.resize(at + 2 * n);
    BOOL used_default = FALSE;
    const int written = WideCharToMultiByte(
        kGbkCodePage, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(in.data()),
        static_cast<int>(n), out.data() + at, static_cast<int>(2 * n), "?", &used_default);
    if (written <= 0) {
      out.replace(at, 2 * n, n, '?');  // cannot happen for valid arguments; still no failure
      clean = false;
    } else {
      out.resize(at + static_cast<size_t>(written));
      if (used_default) clean = false;
    }
    in.remove_prefix(n);
  }
  return clean;
}

// One GBK character (one byte, or a lead byte and its trail byte) to UTF-16. It counts only if
// Windows knows it and it comes back as the same bytes, so no substitute character slips in.
bool DecodeOne(std::string_view bytes, char16_t& out) {
  wchar_t wide = 0;
  if (MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                          static_cast<int>(bytes.size()), &wide, 1) != 1) {
    return false;
  }
  const auto c = static_cast<char16_t>(wide);
  if (IsSurrogate(c) || IsPrivateUse(c)) return false;
  std::string back;
  if (!AppendGbk(std::u16string_view(&c, 1), back) || back != bytes) return false;
  out = c;
  return true;
}

}  // namespace

std::string Utf16ToGbk(std::u16string_view in) {
  // A character outside the basic plane is one "?", not one per surrogate; a lone surrogate
  // and a private-use character are one "?" each, as iconv has them.
  std::u16string folded;
  folded.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    const char16_t c = in[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
        in[i + 1] < 0xE000) {
      ++i;
    }
    folded += IsSurrogate(c) || IsPrivateUse(c) ? u'?' : c;
  }
  std::string out;
  AppendGbk(folded, out);
  return out;
}

std::u16string GbkToUtf16(std::string_view in) {
  // A byte that does not start a valid character becomes "?" and the next byte is read anew,
  // so a broken pair costs one "?" and keeps the byte after it.
  std::u16string out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    const auto b = static_cast<unsigned char>(in[i]);
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    const size_t n = b >= 0x81 && b <= 0xFE ? 2 : 1;
    char16_t c = 0;
    if (n <= in.size() - i && DecodeOne(in.substr(i, n), c)) {
      out += c;
      i += n;
    } else {
      out += u'?';
      ++i;
    }
  }
  return out;
}

std::string GbkToUtf8(std::string_view in) { return Utf16ToUtf8(GbkToUtf16(in)); }

bool FitsGbk(std::string_view utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  for (const char16_t c : wide) {
    if (c == u'\uFFFD' || IsSurrogate(c) || IsPrivateUse(c)) return false;
  }
  std::string out;
  return AppendGbk(wide, out);
}

}  // namespace text
