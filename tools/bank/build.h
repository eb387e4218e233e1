// Building the question bank file from checked sources.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/result.h"
#include "source.h"

namespace banksrc {

inline constexpr char16_t kBankPassword[] = u"rq7m2kx9tv4wz8";
// The creation date stored in the file (2026-01-01): fixed, so that a build is reproducible.
inline constexpr double kCreationDate = 46023.0;

// The picture file as shipped (GIF or JPEG bytes, about 400 x 400) for an SVG source; see
// PictureRenderer.
using RenderPicture = std::function<base::Result<std::string>(const std::filesystem::path& svg)>;

// The complete database image: config, test (texts and pictures enciphered), the password.
// Each picture named by a question is rendered once from `pictures` with `render`.
base::Result<std::vector<uint8_t>> BuildImage(const Bank& bank,
                                              const std::filesystem::path& pictures,
                                              const RenderPicture& render);

// Writes `bytes` to `path` through a temporary file in the same folder and a rename, so that
// `path` is either the old file or the complete new one.
base::Result<void> WriteFileAtomically(const std::filesystem::path& path,
                                       const std::vector<uint8_t>& bytes);

}  // namespace banksrc
