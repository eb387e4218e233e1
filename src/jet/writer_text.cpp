// src/jet/writer_text.cpp
// Text as the writer stores it: UTF-8 names to UTF-16, and values to plain UCS-2LE or to the
// Jet 4 compressed form.
//
// Compressed form: FF FE, then a byte stream that starts in one-byte mode. In one-byte mode a
// byte b is the character U+00bb; in two-byte mode two bytes form one UCS-2LE character; a 0x00
// byte (in either mode, where a character would start) switches modes and stands for nothing.
// So no character whose low byte is 0 can appear in a compressed text.
#include <string>

#include "jet/writer_internal.h"

namespace jet::writer_internal {

namespace {

bool IsOneByte(char16_t c) { return c >= 0x0001 && c <= 0x00FF; }
bool FitsCompressed(char16_t c) { return (c & 0xFF) != 0; }

// Length of the run of one-byte characters starting at `i`.
size_t OneByteRun(std::u16string_view text, size_t i) {
  size_t end = i;
  while (end < text.size() && IsOneByte(text[end])) ++end;
  return end - i;
}

std::vector<uint8_t> Compress(std::u16string_view text) {
  std::vector<uint8_t> out = {0xFF, 0xFE};
  out.reserve(text.size() + 8);
  bool one_byte = true;
  size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (one_byte) {
      if (IsOneByte(c)) {
        out.push_back(static_cast<uint8_t>(c));
        ++i;
        continue;
      }
      out.push_back(0x00);
      one_byte = false;
      continue;
    }
    if (IsOneByte(c)) {
      // Switching costs one byte each way; a run pays for it when it saves more than that.
      const size_t run = OneByteRun(text, i);
      const bool at_end = i + run == text.size();
      if (run > 2 || (at_end && run > 1)) {
        out.push_back(0x00);
        one_byte = true;
        continue;
      }
    }
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
    ++i;
  }
  return out;
}

std::vector<uint8_t> Plain(std::u16string_view text) {
  std::vector<uint8_t> out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

}  // namespace

Result<std::u16string> Utf8ToUtf16(std::string_view utf8, std::string_view what) {
  std::u16string out;
  out.reserve(utf8.size());
  size_t i = 0;
  auto bad = [&] {
    return base::MakeError(
        base::ErrorCode::kInvalid,
        std::string(what) + " is not valid UTF-8 (byte " + std::to_string(i) + ")");
  };
  while (i < utf8.size()) {
    const auto b0 = static_cast<uint8_t>(utf8[i]);
    size_t extra;
    uint32_t cp;
    if (b0 < 0x80) {
      extra = 0;
      cp = b0;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
      extra = 1;
      cp = b0 & 0x1Fu;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      extra = 2;
      cp = b0 & 0x0Fu;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      extra = 3;
      cp = b0 & 0x07u;
    } else {
      return bad();
    }
    if (i + extra >= utf8.size()) return bad();
    for (size_t k = 1; k <= extra; ++k) {
      const auto b = static_cast<uint8_t>(utf8[i + k]);
      if ((b & 0xC0) != 0x80) return bad();
      cp = cp << 6 | (b & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return bad();
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += extra + 1;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    uint32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00u);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

Result<std::vector<uint8_t>> EncodeText(std::u16string_view text, bool allow_compression) {
  bool compressible = true;
  for (char16_t c : text) compressible = compressible && FitsCompressed(c);
  // A plain text beginning with U+FEFF would start with the bytes FF FE and be read back as
  // compressed; only the compressed form can hold it.
  const bool needs_compression = !text.empty() && text.front() == 0xFEFF;
  if (needs_compression && !compressible) {
    return base::MakeError(base::ErrorCode::kInvalid,
                           "a text that starts with U+FEFF cannot also hold a character whose "
                           "low byte is zero");
  }
  if (compressible && (allow_compression || needs_compression)) {
    std::vector<uint8_t> compressed = Compress(text);
    if (needs_compression || compressed.size() < text.size() * 2) return compressed;
  }
  return Plain(text);
}

}  // namespace jet::writer_internal
