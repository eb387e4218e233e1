// The question bank's enciphered columns (question text and picture): RC4 under the bank key,
// a fresh keystream for every value, as long out as in. Enciphering and deciphering are one
// operation.
#pragma once

#include <string>
#include <string_view>

namespace bank {

inline constexpr std::string_view kCipherKey = "vendrax";

std::string Decipher(std::string_view data);
inline std::string Encipher(std::string_view data) { return Decipher(data); }

}  // namespace bank
