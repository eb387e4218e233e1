// src/jet/names.h
// Names of tables, columns and keywords compare as Jet compares them: ASCII letters without
// case, every other character as it is.
#pragma once

#include <string>
#include <string_view>

namespace jet {

constexpr char16_t FoldAscii(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

inline bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// SameName for a name written in ASCII, one byte a character.
inline bool SameAsciiName(std::u16string_view a, std::string_view ascii) {
  if (a.size() != ascii.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(static_cast<unsigned char>(ascii[i]))) return false;
  }
  return true;
}

// The name with its ASCII letters in lower case, for sets and maps of names.
inline std::u16string FoldedName(std::u16string_view name) {
  std::u16string out(name);
  for (char16_t& c : out) c = FoldAscii(c);
  return out;
}

}  // namespace jet
