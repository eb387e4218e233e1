// A system without a system-wide grab this program knows (a build without Xlib): the host
// takes the keys from its own windows while they have the focus.
#include "app/system_keys.h"

namespace app {

std::unique_ptr<platform::HotKeys> OpenSystemKeys(QWidget&) { return nullptr; }

}  // namespace app
