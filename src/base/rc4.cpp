// src/base/rc4.cpp
#include "base/rc4.h"

#include <utility>

namespace base {

Rc4::Rc4(std::span<const uint8_t> key) {
  for (int k = 0; k < 256; ++k) state_[k] = static_cast<uint8_t>(k);
  if (key.empty()) return;  // keystream of the identity state; callers never pass an empty key
  uint8_t j = 0;
  const size_t n = key.size() > 256 ? 256 : key.size();
  for (size_t k = 0; k < 256; ++k) {
    j = static_cast<uint8_t>(j + state_[k] + key[k % n]);
    std::swap(state_[k], state_[j]);
  }
}

Rc4::Rc4(std::string_view key)
    : Rc4(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(key.data()), key.size())) {}

void Rc4::Apply(std::span<uint8_t> data) {
  // Local copies let the compiler keep the indexes in registers; this loop is the whole cost of
  // deciphering a picture.
  uint8_t i = i_;
  uint8_t j = j_;
  uint8_t* s = state_;
  for (uint8_t& byte : data) {
    i = static_cast<uint8_t>(i + 1);
    const uint8_t si = s[i];
    j = static_cast<uint8_t>(j + si);
    const uint8_t sj = s[j];
    s[i] = sj;
    s[j] = si;
    byte ^= s[static_cast<uint8_t>(si + sj)];
  }
  i_ = i;
  j_ = j;
}

void Rc4::Apply(std::string& data) {
  Apply(std::span<uint8_t>(reinterpret_cast<uint8_t*>(data.data()), data.size()));
}

std::string Rc4Transform(std::string_view key, std::string_view data) {
  std::string out(data);
  if (out.empty()) return out;
  Rc4 cipher(key);
  cipher.Apply(out);
  return out;
}

}  // namespace base
