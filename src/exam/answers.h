// Answers, the paper clock, handing in and the score window.
//
// The remaining minutes live in the caption of 剩余时间标签 ("45" down to "00"); 时钟1 ticks
// once a minute while a paper runs. The paper ends by hand-in or at the 45th tick, which writes
// back the mastery counters (filter box ticked) and opens the score window modally.
#pragma once

#include "exam/context.h"

namespace exam {

// Stores `letter` ('A' to 'D') as the shown question's answer, unless there is no shown
// question or that option's label is empty; then moves on (自动下一题选择框) or shows the
// question again with its mark.
void RecordAnswer(Context& ctx, char letter);

// "45" into the label and a period of one minute. A clock already running keeps its rhythm.
void StartPaperClock(Context& ctx);

// One minute has passed; at 0 the time is up. Runs also when the paper has no question (the
// score window then shows 0).
void PaperClockTick(Context& ctx);

// Ends a paper that has a shown question; nothing without one.
void HandInPaper(Context& ctx);

// The score window was created: its 分数标签 gets the paper's score, then the main window
// goes back to idle.
void ShowPaperScore(Context& ctx);

// A key or the link "关闭" on the score window.
void CloseScoreWindow(Context& ctx);

}  // namespace exam
