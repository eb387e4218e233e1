// G("..."): the GBK bytes of a UTF-8 text, converted on first use and kept for the run, for the
// fixed texts the program shows. Safe from any thread.
#pragma once

#include <string>
#include <string_view>

namespace ui {

// The returned reference stays valid until the process ends.
const std::string& G(std::string_view utf8);

}  // namespace ui
