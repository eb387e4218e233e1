#include "bank/cipher.h"

#include "base/rc4.h"

namespace bank {

std::string Decipher(std::string data) {
  if (data.empty()) return {};
  // The key never changes: schedule it once and start every text from a copy of that state.
  static const base::Rc4 keyed(kCipherKey);
  base::Rc4 cipher = keyed;
  cipher.Apply(data);
  return data;
}

}  // namespace bank
