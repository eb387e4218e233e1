// The question bank's enciphered columns (question text and picture): RC4 under the bank key,
// a fresh keystream for every value, as long out as in. Enciphering and deciphering are one
// operation.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace bank {

inline constexpr std::string_view kCipherKey = "vendrax";

// Works in place on what it is given: pass a value that is no longer needed enciphered with
// std::move.
std::string Decipher(std::string data);
inline std::string Encipher(std::string data) { return Decipher(std::move(data)); }

}  // namespace bank
