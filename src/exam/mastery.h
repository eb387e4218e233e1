// The mastery counters (column reserved of test): every write to them. A question with a
// counter of 2 or more counts as mastered and is left out of filtered papers.
#pragma once

#include "exam/context.h"

namespace exam {

// The paper ended with the filter box ticked: each answered question's counter goes to the
// count it had when the paper was built plus one (right) or to 0 (wrong), one statement per
// question; a failed statement does not stop the others. Unanswered questions are left alone.
// The statements form one batch, so the file is flushed once, before this returns. True when
// every statement ran and the flush succeeded; the end of a paper ignores the result.
bool WriteBackMastery(Context& ctx);

// 图形按钮1: counter 2 at once, the question text erased from its end one byte every 10 ms
// (events run between), then the question taken out of the paper and the next one shown.
void MarkMastered(Context& ctx);

// Every counter of the bank back to 0; the outcome is shown in 及格率标签.
void ClearMasteredRecords(Context& ctx);

}  // namespace exam
