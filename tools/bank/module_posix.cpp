// Loading the picture renderer module on POSIX systems (dlopen).
#include <dlfcn.h>

#include "picture_renderer.h"

namespace banksrc::module {

const char kSuffix[] = ".so";

std::filesystem::path ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path(".") : self.parent_path();
}

void* Load(const std::filesystem::path& path, std::string* why) {
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) *why = dlerror();
  return module;
}

void* Symbol(void* module, const char* name) { return dlsym(module, name); }

}  // namespace banksrc::module
