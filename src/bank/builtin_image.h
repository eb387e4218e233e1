// The question bank image built from assets/bank and carried inside the program.
#pragma once

#include <string_view>

namespace bank {

// The image's bytes, exactly as the bank file is written at first start.
std::string_view BuiltinImage();

}  // namespace bank
