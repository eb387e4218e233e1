// The screen of an X server saved as a PNG picture.
#pragma once

#include <filesystem>
#include <string>

namespace e2e {

// The whole root window of `display` (":N"); false when it could not be read or written.
bool Screenshot(const std::string& display, const std::filesystem::path& path);

}  // namespace e2e
