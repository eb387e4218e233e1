// Qt's keys as the Windows virtual-key codes the logic names keys by.
#pragma once

#include <QKeyEvent>
#include <cstdint>

namespace ui::qt {

// The virtual-key code of the key `event` reports; keypad keys (Qt's keypad modifier) map to
// the VK_NUMPAD codes. 0 for a key without one.
uint32_t VirtualKeyOf(int qt_key, Qt::KeyboardModifiers modifiers);
inline uint32_t VirtualKeyOf(const QKeyEvent& event) {
  return VirtualKeyOf(event.key(), event.modifiers());
}

}  // namespace ui::qt
