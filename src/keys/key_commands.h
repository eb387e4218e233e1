// The keypad: ten system-wide hot keys, NumLock at start, and the commands the keys (and
// clicks on the option labels) run.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "base/result.h"
#include "exam/context.h"

namespace platform {
class Host;
}

namespace keys {

enum class Command {
  kNewPaper,
  kHandIn,
  kPrevious,
  kNext,
  kAnswerA,
  kAnswerB,
  kAnswerC,
  kAnswerD,
  kRevealAnswer,
  kClearMastered,
};

struct HotKey {
  uint32_t virtual_key;
  uint32_t modifiers;
  Command command;
};

// The keys in registration order: 8, 9, 4, 6, 1, 2, 3, 0, +, Ctrl+*.
std::span<const HotKey> HotKeyTable();

// The identifier of the first key; the others follow in table order.
inline constexpr int32_t kFirstHotKeyId = 33001;

// The identifier registration gave each row of the table; 0 where the system refused the key.
using HotKeyIds = std::array<int32_t, 10>;

// Registers every key of the table (refusals are not reported) and switches NumLock on when
// it is off and not held down.
HotKeyIds RegisterHotKeys(platform::Host& host);

// Runs the command of the key with identifier `id`; nothing for an identifier that is no
// registered key (0 never is). `unused` is the notification's second argument.
base::Result<void> DispatchKeyCommand(exam::Context& ctx, const HotKeyIds& ids, int32_t id,
                                      int32_t unused);

// Keypad 8, in every state: the old paper dropped without write-back, a new one built, shown,
// timed and its class's progress line written. A press that arrives while a paper is being
// built is answered by that paper and does not start another.
base::Result<void> NewPaper(exam::Context& ctx);

// The left button released over the option label of `letter`: the answer command of that
// letter, when the label is not empty.
void AnswerByMouse(exam::Context& ctx, char letter);

}  // namespace keys
