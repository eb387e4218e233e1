// The idle exam screen: no paper, the hint in 题目, the question area and counters emptied.
// Start-up, a new paper and the score window all come back through here, which is why it
// lives with the exam rather than with the program's start-up.
#pragma once

#include "exam/context.h"

namespace exam {

// Drops the paper (current_index 0) and empties the screen. Leaves the clock and its label,
// the preparing panel, the licence class and the check boxes alone.
void ResetToIdle(Context& ctx);

}  // namespace exam
