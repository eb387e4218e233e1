#include "bank/builtin_image.h"

// Both symbols come from the assembler file that includes the built image (bank_image.S).
extern "C" const char examora_bank_image_begin[];
extern "C" const char examora_bank_image_end[];

namespace bank {

std::string_view BuiltinImage() {
  return std::string_view(examora_bank_image_begin,
                          static_cast<size_t>(examora_bank_image_end - examora_bank_image_begin));
}

}  // namespace bank
