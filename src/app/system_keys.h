// The keypad keys taken from every application: on X11 through the program's own connection
// to the X server, watched by the Qt event loop; on Windows through RegisterHotKey on the main
// window and a native event filter. Null where the system offers no such grab (Wayland,
// offscreen): the host then takes the keys from its own windows while they have the focus.
#pragma once

#include <QWidget>
#include <memory>

#include "platform/hot_keys.h"

namespace app {

std::unique_ptr<platform::HotKeys> OpenSystemKeys(QWidget& main_window);

}  // namespace app
