// The X11 hot keys on a private Xvfb: keys typed through XTest by another client arrive with
// their identifiers in the lock states they should, reach no other window, and keys another
// client holds are refused. Every wait is for an event or a state, bounded by a deadline.
#include "platform/x11/x11_hot_keys.h"

// GoogleTest before Xlib, whose macros (None, Bool, Status) would clash with its names.
#include <gtest/gtest.h>
// clang-format off
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on
#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/host.h"
#include "support/xvfb.h"

namespace {

using platform::X11HotKeys;
using Clock = std::chrono::steady_clock;

constexpr auto kPatience = std::chrono::seconds(20);

// Waits until `fd` is readable; false once `deadline` has passed.
bool WaitReadable(int fd, Clock::time_point deadline) {
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return false;
  }
}

// Polls `done` (a state the server answers for, not an event) until it holds or time is up.
bool PollUntil(const std::function<bool()>& done) {
  const auto deadline = Clock::now() + kPatience;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

bool g_x_error = false;
int RecordXError(Display*, XErrorEvent*) {
  g_x_error = true;
  return 0;
}

// Another client of the test server: it types through XTest, grabs keys as another program
// would, and can own a focused window that records the key presses it receives.
class Client {
 public:
  explicit Client(const std::string& display) : display_(XOpenDisplay(display.c_str())) {}
  ~Client() {
    if (display_) XCloseDisplay(display_);
  }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  bool ok() const { return display_ != nullptr; }
  Display* display() const { return display_; }

  unsigned Keycode(KeySym keysym) const { return XKeysymToKeycode(display_, keysym); }

  void Press(KeySym keysym, bool down) {
    XTestFakeKeyEvent(display_, Keycode(keysym), down ? True : False, CurrentTime);
    XSync(display_, False);
  }

  // Presses and releases `keysym`, with `held` down around it when given.
  void Tap(KeySym keysym, KeySym held = NoSymbol) {
    if (held != NoSymbol) XTestFakeKeyEvent(display_, Keycode(held), True, CurrentTime);
    XTestFakeKeyEvent(display_, Keycode(keysym), True, CurrentTime);
    XTestFakeKeyEvent(display_, Keycode(keysym), False, CurrentTime);
    if (held != NoSymbol) XTestFakeKeyEvent(display_, Keycode(held), False, CurrentTime);
    XSync(display_, False);
  }

  unsigned LockedModifiers() const {
    XkbStateRec state;
    XkbGetState(display_, XkbUseCoreKbd, &state);
    return state.locked_mods;
  }

  // Taps `lock_key` if needed so that the modifier `mask` it locks is `on`.
  bool SetLock(KeySym lock_key, unsigned mask, bool on) {
    if (((LockedModifiers() & mask) != 0) != on) Tap(lock_key);
    return PollUntil([&] { return ((LockedModifiers() & mask) != 0) == on; });
  }

  // A grab on the root window as another program would take it; false when the server refused.
  bool TryGrab(KeySym keysym, unsigned modifiers) {
    XSync(display_, False);
    g_x_error = false;
    XErrorHandler previous = XSetErrorHandler(&RecordXError);
    XGrabKey(display_, static_cast<int>(Keycode(keysym)), modifiers, DefaultRootWindow(display_),
             False, GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    XSetErrorHandler(previous);
    return !g_x_error;
  }

  // Maps a window, gives it the keyboard focus and waits until it has it.
  bool OpenFocusedWindow() {
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 10, 10, 200, 100, 0, 0, 0);
    XSelectInput(display_, window_, KeyPressMask | StructureNotifyMask | FocusChangeMask);
    XMapWindow(display_, window_);
    if (!WaitUntil([&] { return mapped_; })) return false;
    XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    return WaitUntil([&] { return focused_; });
  }

  // Reads events until `done` holds; false when time ran out first.
  bool WaitUntil(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + kPatience;
    for (;;) {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == KeyPress) window_presses.push_back(event.xkey.keycode);
        if (event.type == MapNotify) mapped_ = true;
        if (event.type == FocusIn) focused_ = true;
        if (event.type == FocusOut) focused_ = false;
      }
      if (done()) return true;
      if (!WaitReadable(ConnectionNumber(display_), deadline)) return false;
    }
  }

  // Waits until the window has received `count` key presses.
  bool WaitForWindowPresses(size_t count) {
    return WaitUntil([&] { return window_presses.size() >= count; });
  }

  std::vector<unsigned> window_presses;  // keycodes, in the order they came

 private:
  Display* display_;
  Window window_ = 0;
  bool mapped_ = false;
  bool focused_ = false;
};

// The trainer's ten keys, in the order it registers them and with the keysym that types them.
struct TrainerKey {
  uint32_t modifiers;
  uint32_t virtual_key;
  KeySym keysym;
  KeySym held;
};
constexpr TrainerKey kTrainerKeys[] = {
    {0, platform::kVkNumpad8, XK_KP_8, NoSymbol},
    {0, platform::kVkNumpad9, XK_KP_9, NoSymbol},
    {0, platform::kVkNumpad4, XK_KP_4, NoSymbol},
    {0, platform::kVkNumpad6, XK_KP_6, NoSymbol},
    {0, platform::kVkNumpad1, XK_KP_1, NoSymbol},
    {0, platform::kVkNumpad2, XK_KP_2, NoSymbol},
    {0, platform::kVkNumpad3, XK_KP_3, NoSymbol},
    {0, platform::kVkNumpad0, XK_KP_0, NoSymbol},
    {0, platform::kVkAdd, XK_KP_Add, NoSymbol},
    {platform::kModControl, platform::kVkMultiply, XK_KP_Multiply, XK_Control_L},
};
constexpr int32_t kFirstId = 33001;
constexpr int32_t kIdOf8 = kFirstId;
constexpr int32_t kIdOfAdd = kFirstId + 8;
constexpr int32_t kIdOfMultiply = kFirstId + 9;

class X11HotKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = std::make_unique<testing_support::Xvfb>();
    if (!server_->installed()) GTEST_SKIP() << server_->error();
    ASSERT_TRUE(server_->running()) << server_->error();
    keys_ = X11HotKeys::Open(server_->display().c_str());
    ASSERT_NE(keys_, nullptr);
    keys_->set_on_pressed([this](int32_t id) { presses_.push_back(id); });
    typist_ = std::make_unique<Client>(server_->display());
    ASSERT_TRUE(typist_->ok());
    num_lock_ = XkbKeysymToModifiers(typist_->display(), XK_Num_Lock);
    ASSERT_NE(num_lock_, 0u) << "the server's keymap binds Num_Lock to no modifier";
  }

  void RegisterTrainerKeys() {
    int32_t id = kFirstId;
    for (const TrainerKey& key : kTrainerKeys) {
      ASSERT_TRUE(keys_->Register(id++, key.modifiers, key.virtual_key)) << key.virtual_key;
    }
  }

  void TapTrainerKeys() {
    for (const TrainerKey& key : kTrainerKeys) typist_->Tap(key.keysym, key.held);
  }

  // Processes the hot keys' events until `count` presses have been reported in all.
  bool WaitForPresses(size_t count) {
    const auto deadline = Clock::now() + kPatience;
    for (;;) {
      keys_->ProcessPending();
      if (presses_.size() >= count) return true;
      if (!WaitReadable(keys_->connection_fd(), deadline)) return false;
    }
  }

  std::vector<int32_t> TrainerIds() const {
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < 10; ++i) ids.push_back(kFirstId + i);
    return ids;
  }

  std::unique_ptr<testing_support::Xvfb> server_;
  std::unique_ptr<X11HotKeys> keys_;
  std::unique_ptr<Client> typist_;
  unsigned num_lock_ = 0;
  std::vector<int32_t> presses_;
};

TEST_F(X11HotKeysTest, EachKeyArrivesOnceWithItsIdentifierWhateverCapsLock) {
  ASSERT_TRUE(typist_->SetLock(XK_Num_Lock, num_lock_, true));
  RegisterTrainerKeys();

  std::vector<int32_t> expected = TrainerIds();
  TapTrainerKeys();
  // A last press after the ten: a key reported twice would show up before it.
  typist_->Tap(XK_KP_8);
  expected.push_back(kIdOf8);
  ASSERT_TRUE(WaitForPresses(expected.size()));
  EXPECT_EQ(presses_, expected);

  ASSERT_TRUE(typist_->SetLock(XK_Caps_Lock, LockMask, true));
  presses_.clear();
  TapTrainerKeys();
  ASSERT_TRUE(WaitForPresses(10));
  EXPECT_EQ(presses_, TrainerIds());
}

TEST_F(X11HotKeysTest, RegisteredKeysDoNotReachTheFocusedWindow) {
  ASSERT_TRUE(typist_->SetLock(XK_Num_Lock, num_lock_, true));
  Client other(server_->display());
  ASSERT_TRUE(other.ok());
  ASSERT_TRUE(other.OpenFocusedWindow());
  RegisterTrainerKeys();

  typist_->Tap(XK_KP_8);
  typist_->Tap(XK_KP_Multiply);  // without Ctrl it is not a hot key
  typist_->Tap(XK_KP_Multiply, XK_Control_L);
  typist_->Tap(XK_a);  // the window gets this last, so it has had every press before it

  ASSERT_TRUE(other.WaitForWindowPresses(3));
  const std::vector<unsigned> to_window = {typist_->Keycode(XK_KP_Multiply),
                                           typist_->Keycode(XK_Control_L), typist_->Keycode(XK_a)};
  EXPECT_EQ(other.window_presses, to_window);
  ASSERT_TRUE(WaitForPresses(2));
  EXPECT_EQ(presses_, (std::vector<int32_t>{kIdOf8, kIdOfMultiply}));
}

TEST_F(X11HotKeysTest, WithNumLockOffTheDigitsGoToTheWindowAndTheOperatorsStillArrive) {
  ASSERT_TRUE(typist_->SetLock(XK_Num_Lock, num_lock_, false));
  ASSERT_TRUE(typist_->SetLock(XK_Caps_Lock, LockMask, true));
  Client other(server_->display());
  ASSERT_TRUE(other.ok());
  ASSERT_TRUE(other.OpenFocusedWindow());
  RegisterTrainerKeys();

  typist_->Tap(XK_KP_8);  // now the cursor-up key
  typist_->Tap(XK_KP_Add);
  typist_->Tap(XK_KP_Multiply, XK_Control_L);
  typist_->Tap(XK_a);
  ASSERT_TRUE(other.WaitForWindowPresses(3));
  const std::vector<unsigned> to_window = {typist_->Keycode(XK_KP_8),
                                           typist_->Keycode(XK_Control_L), typist_->Keycode(XK_a)};
  EXPECT_EQ(other.window_presses, to_window);
  ASSERT_TRUE(WaitForPresses(2));
  EXPECT_EQ(presses_, (std::vector<int32_t>{kIdOfAdd, kIdOfMultiply}));

  // While a grabbed key is down the whole keyboard comes to the hot keys' connection; the
  // cursor key pressed meanwhile is still not the digit.
  typist_->Press(XK_KP_Add, true);
  typist_->Tap(XK_KP_8);
  typist_->Press(XK_KP_Add, false);
  typist_->Tap(XK_KP_Add);
  ASSERT_TRUE(WaitForPresses(4));
  EXPECT_EQ(presses_, (std::vector<int32_t>{kIdOfAdd, kIdOfMultiply, kIdOfAdd, kIdOfAdd}));

  // NumLock on again: the digit is a hot key again.
  ASSERT_TRUE(typist_->SetLock(XK_Num_Lock, num_lock_, true));
  typist_->Tap(XK_KP_8);
  ASSERT_TRUE(WaitForPresses(5));
  EXPECT_EQ(presses_.back(), kIdOf8);
}

TEST_F(X11HotKeysTest, KeyHeldByAnotherClientIsRefusedAndNothingStaysGrabbed) {
  // The other program holds one lock variant of each key only.
  Client holder(server_->display());
  ASSERT_TRUE(holder.ok());
  ASSERT_TRUE(holder.TryGrab(XK_KP_8, num_lock_));
  ASSERT_TRUE(holder.TryGrab(XK_KP_Add, LockMask));

  EXPECT_FALSE(keys_->Register(kIdOf8, 0, platform::kVkNumpad8));
  EXPECT_FALSE(keys_->Register(kIdOfAdd, 0, platform::kVkAdd));
  // The refusals leave the connection working.
  EXPECT_TRUE(keys_->Register(kIdOfMultiply, platform::kModControl, platform::kVkMultiply));

  // Every other variant is free: a third program can take each of them.
  Client prober(server_->display());
  ASSERT_TRUE(prober.ok());
  EXPECT_TRUE(prober.TryGrab(XK_KP_8, num_lock_ | LockMask));
  EXPECT_TRUE(prober.TryGrab(XK_KP_Add, 0));
  EXPECT_TRUE(prober.TryGrab(XK_KP_Add, num_lock_));
  EXPECT_TRUE(prober.TryGrab(XK_KP_Add, num_lock_ | LockMask));
  EXPECT_FALSE(prober.TryGrab(XK_KP_Multiply, ControlMask));
}

TEST_F(X11HotKeysTest, SecondCopyIsRefusedUntilTheFirstHasGone) {
  ASSERT_TRUE(keys_->Register(kIdOf8, 0, platform::kVkNumpad8));
  std::unique_ptr<X11HotKeys> second = X11HotKeys::Open(server_->display().c_str());
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(second->Register(kIdOf8, 0, platform::kVkNumpad8));

  keys_.reset();
  ASSERT_TRUE(second->Register(kIdOf8, 0, platform::kVkNumpad8));
  second->set_on_pressed([this](int32_t id) { presses_.push_back(id); });
  ASSERT_TRUE(typist_->SetLock(XK_Num_Lock, num_lock_, true));
  typist_->Tap(XK_KP_8);
  const auto deadline = Clock::now() + kPatience;
  while (presses_.empty()) {
    second->ProcessPending();
    if (presses_.empty()) {
      ASSERT_TRUE(WaitReadable(second->connection_fd(), deadline));
    }
  }
  EXPECT_EQ(presses_, std::vector<int32_t>{kIdOf8});
}

TEST_F(X11HotKeysTest, RefusesKeysItCannotTell) {
  EXPECT_FALSE(keys_->Register(kFirstId, 0, 0x41));                   // the letter A
  EXPECT_FALSE(keys_->Register(kFirstId, 0x4000, platform::kVkAdd));  // MOD_NOREPEAT
  ASSERT_TRUE(keys_->Register(kFirstId, 0, platform::kVkAdd));
  EXPECT_FALSE(keys_->Register(kFirstId + 1, 0, platform::kVkAdd));  // registered here already
  EXPECT_TRUE(keys_->Register(kFirstId + 2, platform::kModControl, platform::kVkAdd));
}

TEST_F(X11HotKeysTest, TapNumLockFlipsTheStateOthersSee) {
  // The server starts with NumLock off, as a machine may; the program taps then.
  ASSERT_EQ(keys_->NumLockKeyState(), 0);
  keys_->TapNumLock();
  EXPECT_TRUE(PollUntil([&] { return keys_->NumLockKeyState() == 1; }));
  EXPECT_NE(typist_->LockedModifiers() & num_lock_, 0u);

  keys_->TapNumLock();
  EXPECT_TRUE(PollUntil([&] { return keys_->NumLockKeyState() == 0; }));
  EXPECT_EQ(typist_->LockedModifiers() & num_lock_, 0u);
}

TEST_F(X11HotKeysTest, NumLockHeldDownSetsTheHighBit) {
  XTestFakeKeyEvent(typist_->display(), typist_->Keycode(XK_Num_Lock), True, CurrentTime);
  XSync(typist_->display(), False);
  EXPECT_TRUE(PollUntil([&] { return keys_->NumLockKeyState() == static_cast<int16_t>(0x8001); }));
  XTestFakeKeyEvent(typist_->display(), typist_->Keycode(XK_Num_Lock), False, CurrentTime);
  XSync(typist_->display(), False);
  EXPECT_TRUE(PollUntil([&] { return keys_->NumLockKeyState() == 1; }));
}

TEST(X11HotKeysOpenTest, NullWithoutADisplay) {
  EXPECT_EQ(X11HotKeys::Open("not a display"), nullptr);
  EXPECT_EQ(X11HotKeys::Open(":65000"), nullptr);

  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved ? saved : "";
  unsetenv("DISPLAY");
  EXPECT_EQ(X11HotKeys::Open(), nullptr);
  if (saved) setenv("DISPLAY", display.c_str(), 1);
}

TEST(XvfbTest, ServerAcceptsClientsUntilTheObjectGoes) {
  auto server = std::make_unique<testing_support::Xvfb>();
  if (!server->installed()) GTEST_SKIP() << server->error();
  ASSERT_TRUE(server->running()) << server->error();
  const std::string name = server->display();
  const pid_t pid = server->pid();

  Display* client = XOpenDisplay(name.c_str());
  ASSERT_NE(client, nullptr);
  XCloseDisplay(client);
  int displays = 0;
  for (const std::string& entry : server->Environment()) {
    if (entry.rfind("DISPLAY=", 0) == 0) {
      ++displays;
      EXPECT_EQ(entry, "DISPLAY=" + name);
    }
    EXPECT_NE(entry.rfind("WAYLAND_DISPLAY=", 0), 0u);
  }
  EXPECT_EQ(displays, 1);

  server.reset();
  EXPECT_EQ(kill(pid, 0), -1);  // stopped and reaped
  EXPECT_EQ(XOpenDisplay(name.c_str()), nullptr);
}

}  // namespace
