// Putting the built-in question bank beside the program at first start.
#pragma once

#include <string>
#include <string_view>

#include "base/result.h"

namespace bank {

// Writes `bytes` to a temporary file in the folder of `path`, flushes it, and moves it to
// `path`, so that `path` never holds a partly written file. With `replace` false an existing
// `path` is left alone (kInvalid). The temporary file is removed on every failure.
base::Result<void> WriteNewFile(const std::string& path, std::string_view bytes, bool replace);

// First start: if nothing at all exists at `path` (no file, also no empty file, no directory,
// no link), writes `image` there and returns true; otherwise leaves it untouched and returns
// false. A failed write leaves nothing at `path`.
base::Result<bool> EnsureBankFile(const std::string& path, std::string_view image);

// The bank file's path for a program in `program_dir`: the folder, the platform's separator,
// "exam.sys".
std::string BankPath(const std::string& program_dir);

}  // namespace bank
