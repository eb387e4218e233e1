// The hot keys on X11: each key is a passive grab on the root window of a connection of its own,
// so a registered key reaches this program and no other client. Free of Qt; the host watches
// connection_fd() and calls ProcessPending().
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/hot_keys.h"

struct _XDisplay;  // Xlib's Display; its header stays out of the host's sources

namespace platform {

// Keys are grabbed by keycode, so they keep working across layouts that keep the keypad where
// it is. The keypad digits (and the decimal key) count only while NumLock is on, as on Windows,
// where NumLock off turns them into the cursor keys: then they go on to the focused window.
// The operator keys count whatever the state of NumLock. CapsLock never matters.
//
// Presses are read from the connection only inside ProcessPending(); Pressed() runs there.
class X11HotKeys : public HotKeys {
 public:
  // Connects to `display_name` (null: $DISPLAY). Null when no X display can be opened, for
  // example on Wayland without XWayland; the host then has to do without system-wide keys.
  static std::unique_ptr<X11HotKeys> Open(const char* display_name = nullptr);
  // Releases every grab and closes the connection.
  ~X11HotKeys() override;
  X11HotKeys(const X11HotKeys&) = delete;
  X11HotKeys& operator=(const X11HotKeys&) = delete;

  // Known keys: the keypad digits (0x60-0x69), * + separator - . / (0x6A-0x6F); modifiers any
  // of MOD_ALT 0x1, MOD_CONTROL 0x2, MOD_SHIFT 0x4, MOD_WIN 0x8. False for anything else, for
  // a key this keyboard does not have, for a key and modifiers registered here already, and
  // when another client holds any NumLock/CapsLock variant of the key; nothing is left grabbed
  // then.
  bool Register(int32_t id, uint32_t modifiers, uint32_t virtual_key) override;
  // Bit 0 from the locked NumLock modifier, bit 15 while the NumLock key is down. Reports "on"
  // when the keyboard has no NumLock modifier at all, so that nobody taps a key that does nothing.
  int16_t NumLockKeyState() override;
  // A press and release of the NumLock key through XTest; nothing when the server lacks XTest.
  void TapNumLock() override;

  // The connection's socket: readable when presses may be waiting.
  int connection_fd() const;
  // Reads every event the server has sent and calls Pressed(id) for each press of a registered
  // key, key repeat included. Register and NumLockKeyState wait for the server and may read
  // presses into the queue meanwhile without the socket becoming readable again, so the host
  // calls this after them too (and may call it whenever it likes: it never blocks).
  void ProcessPending();

 private:
  struct Grab {
    int32_t id;
    unsigned keycode;
    unsigned modifiers;  // X modifier mask, without NumLock and CapsLock
    bool needs_num_lock;
  };

  explicit X11HotKeys(_XDisplay* display);
  // The NumLock and CapsLock variants a key with `needs_num_lock` is grabbed in.
  std::vector<unsigned> LockVariants(bool needs_num_lock) const;

  _XDisplay* display_;
  unsigned long root_;
  unsigned num_lock_mask_ = 0;  // the ModN that holds Num_Lock; 0 when none does
  unsigned num_lock_keycode_ = 0;
  bool has_xtest_ = false;
  std::vector<Grab> grabs_;
};

}  // namespace platform
