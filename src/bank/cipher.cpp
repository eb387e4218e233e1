#include "bank/cipher.h"

#include "base/rc4.h"

namespace bank {

std::string Decipher(std::string_view data) {
  if (data.empty()) return {};
  return base::Rc4Transform(kCipherKey, data);
}

}  // namespace bank
