// The progress line in 及格率标签: the class's questions in the whole bank, how many are
// mastered (reserved of 2 or more), how many remain, and the mastered share in percent.
#pragma once

#include <string>

#include "base/result.h"
#include "exam/context.h"

namespace exam {

// Writes "共<total>题，已记住<mastered>题，尚余<remaining>题，及格率<rate>%" for `licence_class`
// (GBK). With no class or no category of it the line is left as it is. A count that is no
// number is NumberExpected; a category code that is no text, WrongKind.
base::Result<void> ShowProgressStatistics(Context& ctx, const std::string& licence_class);

}  // namespace exam
