// Loading the picture renderer module on Windows (LoadLibrary).
#include <windows.h>

#include "picture_renderer.h"

namespace banksrc::module {

const char kSuffix[] = ".dll";

std::filesystem::path ProgramFolder() {
  wchar_t buffer[32768];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
  if (n == 0 || n >= std::size(buffer)) return std::filesystem::path(".");
  return std::filesystem::path(std::wstring(buffer, n)).parent_path();
}

void* Load(const std::filesystem::path& path, std::string* why) {
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) *why = "error " + std::to_string(GetLastError());
  return reinterpret_cast<void*>(module);
}

void* Symbol(void* module, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

}  // namespace banksrc::module
