// src/jet/reader_text.cpp
// Stored texts: plain UCS-2LE, or Jet 4's compressed form (FF FE, then single bytes for
// U+0001..U+00FF, a zero byte switching between single bytes and UCS-2).
#include "jet/bytes.h"
#include "jet/database.h"

namespace jet {

TextReader::TextReader(std::span<const uint8_t> stored) : bytes_(stored) {
  if (bytes_.size() >= 2 && bytes_[0] == 0xFF && bytes_[1] == 0xFE) {
    compressed_form_ = true;
    pos_ = 2;
  }
}

bool TextReader::Next(char16_t& c) {
  if (!compressed_form_) {
    if (pos_ + 2 > bytes_.size()) return false;
    c = static_cast<char16_t>(LoadU16(&bytes_[pos_]));
    pos_ += 2;
    return true;
  }
  while (pos_ < bytes_.size()) {
    const uint8_t b = bytes_[pos_];
    if (b == 0x00) {
      compressed_ = !compressed_;
      ++pos_;
    } else if (compressed_) {
      c = b;
      ++pos_;
      return true;
    } else if (pos_ + 1 < bytes_.size()) {
      c = static_cast<char16_t>(LoadU16(&bytes_[pos_]));
      pos_ += 2;
      return true;
    } else {
      return false;
    }
  }
  return false;
}

std::u16string DecodeText(std::span<const uint8_t> bytes) {
  std::u16string out;
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    // Never longer than one character per byte; filled in place, cut to size at the end.
    out.resize(bytes.size() - 2);
    size_t n = 0;
    bool compressed = true;
    for (size_t i = 2; i < bytes.size(); ++i) {
      if (bytes[i] == 0x00) {
        compressed = !compressed;
      } else if (compressed) {
        out[n++] = static_cast<char16_t>(bytes[i]);
      } else if (i + 1 < bytes.size()) {
        out[n++] = static_cast<char16_t>(LoadU16(&bytes[i]));
        ++i;
      }
    }
    out.resize(n);
    return out;
  }
  out.resize(bytes.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char16_t>(LoadU16(&bytes[2 * i]));
  return out;
}

std::optional<std::string_view> CompressedAscii(std::span<const uint8_t> stored) {
  if (stored.size() < 2 || stored[0] != 0xFF || stored[1] != 0xFE) return std::nullopt;
  for (size_t i = 2; i < stored.size(); ++i) {
    // A zero byte switches to two-byte characters; a byte from 0x80 is a Latin-1 letter.
    if (stored[i] == 0x00 || stored[i] >= 0x80) return std::nullopt;
  }
  return std::string_view(reinterpret_cast<const char*>(stored.data()) + 2, stored.size() - 2);
}

}  // namespace jet
