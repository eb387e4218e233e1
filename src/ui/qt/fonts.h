// The fonts of the window description as Qt fonts. The faces the description names are those
// of a Chinese Windows desktop; where they are missing, free faces of the same style stand in
// (scripts/setup installs them): AR PL UKai for the 楷体 faces, AR PL UMing for 宋体,
// Liberation for Arial and Georgia.
#pragma once

#include <QFont>
#include <QStringList>
#include <optional>

#include "ui/window_description.h"

namespace ui::qt {

// The families tried for `face`, best first.
QStringList FontFamilies(std::string_view face);

// The font of a control; the host's default (宋体 12 px) when the row names none.
QFont ToQFont(const std::optional<Font>& font);

}  // namespace ui::qt
