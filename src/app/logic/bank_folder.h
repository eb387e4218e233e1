// Where the bank lives. An ordinary build keeps exam.sys beside the program; a build installed
// by a package cannot, because the learner may not write to the program's folder, so it keeps
// the bank in the learner's own data folder instead.
#pragma once

#include <optional>
#include <string>

namespace app {

// The learner's data folder for the trainer, after the XDG base-directory rules:
// $XDG_DATA_HOME/examora when that is an absolute path, else $HOME/.local/share/examora; none
// when neither gives an absolute path. Arguments are the variables' values (null when unset).
std::optional<std::string> UserBankFolder(const char* xdg_data_home, const char* home);

}  // namespace app
