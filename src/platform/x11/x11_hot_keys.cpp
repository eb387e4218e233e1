// Passive grabs on the root window for the hot keys, NumLock through XKB and XTest.
#include "platform/x11/x11_hot_keys.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <optional>

namespace platform {
namespace {

struct KeypadKey {
  uint32_t virtual_key;
  KeySym keysym;
  KeySym keysym_without_num_lock;  // what the same key gives with NumLock off; NoSymbol if alike
  bool needs_num_lock;             // counts only while NumLock is on
};

constexpr KeypadKey kKeypadKeys[] = {
    {0x60, XK_KP_0, XK_KP_Insert, true},       {0x61, XK_KP_1, XK_KP_End, true},
    {0x62, XK_KP_2, XK_KP_Down, true},         {0x63, XK_KP_3, XK_KP_Next, true},
    {0x64, XK_KP_4, XK_KP_Left, true},         {0x65, XK_KP_5, XK_KP_Begin, true},
    {0x66, XK_KP_6, XK_KP_Right, true},        {0x67, XK_KP_7, XK_KP_Home, true},
    {0x68, XK_KP_8, XK_KP_Up, true},           {0x69, XK_KP_9, XK_KP_Prior, true},
    {0x6A, XK_KP_Multiply, NoSymbol, false},   {0x6B, XK_KP_Add, NoSymbol, false},
    {0x6C, XK_KP_Separator, NoSymbol, false},  {0x6D, XK_KP_Subtract, NoSymbol, false},
    {0x6E, XK_KP_Decimal, XK_KP_Delete, true}, {0x6F, XK_KP_Divide, NoSymbol, false},
};

// The Windows hot-key modifier flags and the X modifiers they stand for.
constexpr struct {
  uint32_t windows;
  unsigned x;
} kModifiers[] = {{0x1, Mod1Mask}, {0x2, ControlMask}, {0x4, ShiftMask}, {0x8, Mod4Mask}};

constexpr unsigned kAllModifiers =
    ShiftMask | LockMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask;

const KeypadKey* FindKey(uint32_t virtual_key) {
  for (const KeypadKey& key : kKeypadKeys) {
    if (key.virtual_key == virtual_key) return &key;
  }
  return nullptr;
}

std::optional<unsigned> XModifiers(uint32_t windows_modifiers) {
  unsigned x = 0;
  for (const auto& m : kModifiers) {
    if (windows_modifiers & m.windows) {
      x |= m.x;
      windows_modifiers &= ~m.windows;
    }
  }
  if (windows_modifiers != 0) return std::nullopt;
  return x;
}

// The mask of the modifier (Mod1 ... Mod5) that a Num_Lock key is bound to, or 0.
unsigned FindNumLockMask(Display* display) {
  XModifierKeymap* map = XGetModifierMapping(display);
  if (!map) return 0;
  unsigned mask = 0;
  for (int modifier = Mod1MapIndex; modifier <= Mod5MapIndex && mask == 0; ++modifier) {
    for (int i = 0; i < map->max_keypermod; ++i) {
      const KeyCode code = map->modifiermap[modifier * map->max_keypermod + i];
      if (code != 0 && XkbKeycodeToKeysym(display, code, 0, 0) == XK_Num_Lock) {
        mask = 1u << modifier;
        break;
      }
    }
  }
  XFreeModifiermap(map);
  return mask;
}

// Catches the errors of the requests sent on one display while it is alive; another client's
// grab of a key comes back as an asynchronous BadAccess. Xlib's error handler is one for the
// whole process, so errors of other displays go on to the handler that was there before.
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display) {
    display_ = display;
    first_serial_ = NextRequest(display);
    caught_ = false;
    previous_ = XSetErrorHandler(&ErrorTrap::Handle);
  }
  ~ErrorTrap() { XSetErrorHandler(previous_); }
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Waits until the server has answered every request so far; true when one of those sent since
  // the trap was set failed.
  bool Failed() {
    XSync(display_, False);
    return caught_;
  }

 private:
  static int Handle(Display* display, XErrorEvent* error) {
    if (display == display_ && error->serial >= first_serial_) {
      caught_ = true;
      return 0;
    }
    return previous_ ? previous_(display, error) : 0;
  }

  static inline Display* display_ = nullptr;
  static inline unsigned long first_serial_ = 0;
  static inline bool caught_ = false;
  static inline XErrorHandler previous_ = nullptr;
};

}  // namespace

std::unique_ptr<X11HotKeys> X11HotKeys::Open(const char* display_name) {
  Display* display = XOpenDisplay(display_name);
  if (!display) return nullptr;
  return std::unique_ptr<X11HotKeys>(new X11HotKeys(display));
}

X11HotKeys::X11HotKeys(Display* display) : display_(display), root_(DefaultRootWindow(display)) {
  int opcode = 0, event_base = 0, error_base = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  XkbQueryExtension(display_, &opcode, &event_base, &error_base, &major, &minor);
  has_xtest_ = XTestQueryExtension(display_, &event_base, &error_base, &major, &minor) != 0;
  num_lock_mask_ = FindNumLockMask(display_);
  num_lock_keycode_ = XKeysymToKeycode(display_, XK_Num_Lock);
}

X11HotKeys::~X11HotKeys() {
  for (const Grab& grab : grabs_) {
    for (unsigned variant : LockVariants(grab.needs_num_lock)) {
      XUngrabKey(display_, static_cast<int>(grab.keycode), grab.modifiers | variant, root_);
    }
  }
  XCloseDisplay(display_);
}

std::vector<unsigned> X11HotKeys::LockVariants(bool needs_num_lock) const {
  if (num_lock_mask_ == 0) return {0, LockMask};
  if (needs_num_lock) return {num_lock_mask_, num_lock_mask_ | LockMask};
  return {0, LockMask, num_lock_mask_, num_lock_mask_ | LockMask};
}

bool X11HotKeys::Register(int32_t id, uint32_t modifiers, uint32_t virtual_key) {
  const KeypadKey* key = FindKey(virtual_key);
  const std::optional<unsigned> x_modifiers = XModifiers(modifiers);
  if (!key || !x_modifiers || (*x_modifiers & (LockMask | num_lock_mask_))) return false;

  unsigned keycode = XKeysymToKeycode(display_, key->keysym);
  if (keycode == 0 && key->keysym_without_num_lock != NoSymbol) {
    keycode = XKeysymToKeycode(display_, key->keysym_without_num_lock);
  }
  if (keycode == 0) return false;
  const bool taken = std::any_of(grabs_.begin(), grabs_.end(), [&](const Grab& g) {
    return g.keycode == keycode && g.modifiers == *x_modifiers;
  });
  if (taken) return false;

  const std::vector<unsigned> variants = LockVariants(key->needs_num_lock);
  bool refused;
  {
    ErrorTrap trap(display_);
    for (unsigned variant : variants) {
      XGrabKey(display_, static_cast<int>(keycode), *x_modifiers | variant, root_, False,
               GrabModeAsync, GrabModeAsync);
    }
    refused = trap.Failed();
  }
  if (refused) {
    // Ungrabbing a variant this client did not get leaves the other client's grab alone.
    for (unsigned variant : variants) {
      XUngrabKey(display_, static_cast<int>(keycode), *x_modifiers | variant, root_);
    }
    XSync(display_, False);
    return false;
  }
  grabs_.push_back({id, keycode, *x_modifiers, key->needs_num_lock});
  return true;
}

int16_t X11HotKeys::NumLockKeyState() {
  if (num_lock_mask_ == 0) return 1;
  unsigned state = 0;
  XkbStateRec xkb_state;
  if (XkbGetState(display_, XkbUseCoreKbd, &xkb_state) == Success) {
    state = xkb_state.locked_mods;
  } else {
    Window root, child;
    int root_x, root_y, x, y;
    XQueryPointer(display_, root_, &root, &child, &root_x, &root_y, &x, &y, &state);
  }
  uint16_t result = (state & num_lock_mask_) ? 1 : 0;
  if (num_lock_keycode_ != 0) {
    char keys[32];
    XQueryKeymap(display_, keys);
    if ((keys[num_lock_keycode_ / 8] >> (num_lock_keycode_ % 8)) & 1) result |= 0x8000;
  }
  return static_cast<int16_t>(result);
}

void X11HotKeys::TapNumLock() {
  if (!has_xtest_ || num_lock_keycode_ == 0) return;
  XTestFakeKeyEvent(display_, num_lock_keycode_, True, CurrentTime);
  XTestFakeKeyEvent(display_, num_lock_keycode_, False, CurrentTime);
  XFlush(display_);
}

int X11HotKeys::connection_fd() const { return ConnectionNumber(display_); }

void X11HotKeys::ProcessPending() {
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == MappingNotify) {
      XRefreshKeyboardMapping(&event.xmapping);
      continue;
    }
    if (event.type != KeyPress) continue;
    const unsigned state = event.xkey.state;
    const unsigned modifiers = state & kAllModifiers & ~(LockMask | num_lock_mask_);
    const bool num_lock_on = num_lock_mask_ == 0 || (state & num_lock_mask_) != 0;
    // While a grabbed key is down the whole keyboard comes here, so a press is matched against
    // the NumLock state as well as the keycode and modifiers.
    const auto grab = std::find_if(grabs_.begin(), grabs_.end(), [&](const Grab& g) {
      return g.keycode == event.xkey.keycode && g.modifiers == modifiers &&
             (num_lock_on || !g.needs_num_lock);
    });
    // Pressed may register keys or come back here: the iterator is not used past this point.
    if (grab != grabs_.end()) Pressed(grab->id);
  }
}

}  // namespace platform
