// Any byte string, read as UTF-16, must parse or fail cleanly.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sql/statement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }
  // Also as plain ASCII bytes, which reaches keywords far more often.
  std::u16string ascii(data, data + size);
  (void)sql::Parse(text);
  (void)sql::Parse(ascii);
  return 0;
}
