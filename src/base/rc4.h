// src/base/rc4.h
// The RC4 stream cipher (the published key schedule and keystream, no drop). The Jet engine uses
// it for the masked header region, the question bank for its enciphered columns. Enciphering
// and deciphering are the same operation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace base {

class Rc4 {
 public:
  // `key` must not be empty (RC4 is undefined for an empty key); at most 256 bytes are used.
  explicit Rc4(std::span<const uint8_t> key);
  explicit Rc4(std::string_view key);

  // XORs the next data.size() keystream bytes into `data`.
  void Apply(std::span<uint8_t> data);
  void Apply(std::string& data);

 private:
  uint8_t state_[256];
  uint8_t i_ = 0;
  uint8_t j_ = 0;
};

// `data` enciphered (or deciphered) with a fresh state under `key`; same length out as in.
std::string Rc4Transform(std::string_view key, std::string_view data);

}  // namespace base
