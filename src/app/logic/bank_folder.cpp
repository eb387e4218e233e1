#include "app/logic/bank_folder.h"

namespace app {
namespace {

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string Joined(std::string folder, const char* tail) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder != "/") folder += '/';
  return folder + tail;
}

}  // namespace

std::optional<std::string> UserBankFolder(const char* xdg_data_home, const char* home) {
  // A relative or empty XDG_DATA_HOME is to be ignored, as the base-directory rules say.
  if (IsAbsolute(xdg_data_home)) return Joined(xdg_data_home, "examora");
  if (IsAbsolute(home)) return Joined(home, ".local/share/examora");
  return std::nullopt;
}

}  // namespace app
