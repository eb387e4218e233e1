#include "ui/qt/key_map.h"

namespace ui::qt {

uint32_t VirtualKeyOf(int qt_key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) {
      return 0x60 + static_cast<uint32_t>(qt_key - Qt::Key_0);
    }
    switch (qt_key) {
      case Qt::Key_Asterisk:
        return 0x6A;
      case Qt::Key_Plus:
        return 0x6B;
      case Qt::Key_Comma:
        return 0x6C;  // the separator key
      case Qt::Key_Minus:
        return 0x6D;
      case Qt::Key_Period:
      case Qt::Key_Delete:
        return 0x6E;
      case Qt::Key_Slash:
        return 0x6F;
      default:
        break;  // NumLock off: the keypad's cursor keys are the ordinary ones
    }
  }
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return static_cast<uint32_t>(qt_key);
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return static_cast<uint32_t>(qt_key);
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24) {
    return 0x70 + static_cast<uint32_t>(qt_key - Qt::Key_F1);
  }
  switch (qt_key) {
    case Qt::Key_Backspace:
      return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 0x0D;
    case Qt::Key_Shift:
      return 0x10;
    case Qt::Key_Control:
      return 0x11;
    case Qt::Key_Alt:
      return 0x12;
    case Qt::Key_Pause:
      return 0x13;
    case Qt::Key_CapsLock:
      return 0x14;
    case Qt::Key_Escape:
      return 0x1B;
    case Qt::Key_Space:
      return 0x20;
    case Qt::Key_PageUp:
      return 0x21;
    case Qt::Key_PageDown:
      return 0x22;
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Insert:
      return 0x2D;
    case Qt::Key_Delete:
      return 0x2E;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
      return 0x5B;
    case Qt::Key_NumLock:
      return 0x90;
    case Qt::Key_ScrollLock:
      return 0x91;
    default:
      return 0;
  }
}

}  // namespace ui::qt
