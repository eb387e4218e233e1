// Showing the question at the current position and keeping the question area in step with it:
// text, options, picture, the learner's answer, the right/wrong mark and badge, the right
// answer, the running score and the position; stepping back and forth with wrap-around; the
// display check boxes.
#pragma once

#include <cstdint>

#include "exam/context.h"

namespace exam {

// True when current_index is between 1 and the paper's length.
bool IsCurrentIndexValid(const Context& ctx);

// Shows the record at current_index. Lets pending events run once after the text, options and
// picture are set; the rest is filled from the record at the position current_index has then,
// and not at all if a nested command left no valid position.
void ShowCurrentQuestion(Context& ctx);

// Step back or on by one, the first wrapping to the last and the last to the first.
void PreviousQuestion(Context& ctx);
void NextQuestion(Context& ctx);

// Records of the whole paper whose answer equals their right key; 0 without a paper.
int32_t CountCorrectAnswers(const Context& ctx);

// Puts the shown question's right answer into 正确答案 whatever 显示答案选择框 says.
void RevealRightAnswer(Context& ctx);

// The three display check boxes were clicked (their ticked state is already the new one).
void RefreshRightWrongMark(Context& ctx);
void RefreshRightAnswer(Context& ctx);
void RefreshScore(Context& ctx);

// Gives the focus back to the main window itself.
void FocusMainWindow(Context& ctx);

}  // namespace exam
