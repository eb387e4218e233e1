// Building a paper: the candidates of the chosen licence class (mastered ones left out when the
// filter box is ticked), thinned at random to 100, shuffled, and loaded one by one with their
// question text and picture deciphered.
#pragma once

#include <cstdint>

#include "base/result.h"
#include "exam/context.h"

namespace exam {

// The paper is at most this long.
inline constexpr size_t kPaperSize = 100;

// Replaces the working paper; returns its number of questions (0 to 100) and shows it in
// 共标签. Refuses, returning 0 with an empty paper, when 组合框1 has no item selected or no
// config row selects the class. Lets pending events run after each id thinned away. A column
// of the wrong kind is a fatal data error (WrongKind; NumberExpected for reserved).
base::Result<int32_t> BuildQuestionSet(Context& ctx);

}  // namespace exam
