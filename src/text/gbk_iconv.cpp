// The GBK conversions on iconv; gbk_win32.cpp does the same on code page 936.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "text/gbk.h"

namespace text {
namespace {

// One iconv descriptor per direction and thread; iconv_open is far too slow to call per text.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `in`; an input unit that cannot be converted is skipped (`in_unit` bytes) and
  // `replacement` is written instead. Returns false if anything was replaced.
  bool Run(const char* in, size_t in_size, size_t in_unit, std::string_view replacement,
           std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    bool clean = true;
    char buffer[4096];
    auto* src = const_cast<char*>(in);
    size_t src_left = in_size;
    while (src_left > 0) {
      char* dst = buffer;
      size_t dst_left = sizeof buffer;
      size_t rc = iconv(cd_, &src, &src_left, &dst, &dst_left);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (rc != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // EILSEQ (not representable / invalid) or EINVAL (truncated at the end).
      clean = false;
      out.append(replacement);
      size_t skip = in_unit <= src_left ? in_unit : src_left;
      src += skip;
      src_left -= skip;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    size_t dst_left = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &dst_left);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return clean;
  }

 private:
  iconv_t cd_;
};

Converter& Utf16ToGbkConverter() {
  thread_local Converter c("GBK", "UTF-16LE");
  return c;
}
Converter& GbkToUtf16Converter() {
  thread_local Converter c("UTF-16LE", "GBK");
  return c;
}
Converter& GbkToUtf8Converter() {
  thread_local Converter c("UTF-8", "GBK");
  return c;
}

std::u16string BytesToUtf16(const std::string& bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return out;
}

std::string Utf16ToBytes(std::u16string_view in) {
  std::string bytes(in.size() * 2, '\0');
  for (size_t i = 0; i < in.size(); ++i) {
    bytes[2 * i] = static_cast<char>(in[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(in[i] >> 8);
  }
  return bytes;
}

// Texts of ASCII only (ids, keys, column names: most texts the program converts) are the same
// bytes in GBK and need no trip through iconv.
bool IsAscii(std::u16string_view in) {
  for (char16_t c : in) {
    if (c >= 0x80) return false;
  }
  return true;
}
bool IsAscii(std::string_view in) {
  for (char c : in) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string Utf16ToGbk(std::u16string_view in) {
  if (IsAscii(in)) return std::string(in.begin(), in.end());
  // A character outside the basic plane is one "?", not one per surrogate.
  std::u16string folded;
  for (size_t i = 0; i < in.size(); ++i) {
    bool pair = in[i] >= 0xD800 && in[i] < 0xDC00 && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
                in[i + 1] < 0xE000;
    folded += pair ? u'?' : in[i];
    if (pair) ++i;
  }
  std::string bytes = Utf16ToBytes(folded);
  std::string out;
  Utf16ToGbkConverter().Run(bytes.data(), bytes.size(), 2, "?", out);
  return out;
}

std::u16string GbkToUtf16(std::string_view in) {
  if (IsAscii(in)) return std::u16string(in.begin(), in.end());
  std::string out;
  // A broken GBK pair is replaced by U+003F as two UTF-16 bytes.
  GbkToUtf16Converter().Run(in.data(), in.size(), 1, std::string_view("?\0", 2), out);
  return BytesToUtf16(out);
}

std::string GbkToUtf8(std::string_view in) {
  if (IsAscii(in)) return std::string(in);
  std::string out;
  GbkToUtf8Converter().Run(in.data(), in.size(), 1, "?", out);
  return out;
}

bool FitsGbk(std::string_view utf8) {
  std::u16string wide = Utf8ToUtf16(utf8);
  if (wide.find(u'\uFFFD') != std::u16string::npos) return false;
  std::string bytes = Utf16ToBytes(wide);
  std::string out;
  return Utf16ToGbkConverter().Run(bytes.data(), bytes.size(), 2, "", out);
}

}  // namespace text
