// Names of the pictures the program carries. The window description names its artwork by these;
// the logic is handed the bytes of the last three (placeholder and the two marks) at start.
#pragma once

#include <string_view>

namespace ui::pictures {

inline constexpr std::string_view kMainWindow = "main_window.jpg";    // 1280 x 1024
inline constexpr std::string_view kMainPanel = "main_panel.jpg";      // 800 x 600
inline constexpr std::string_view kScoreWindow = "score_window.jpg";  // 400 x 301
inline constexpr std::string_view kBadge = "badge.gif";               // 170 x 64
inline constexpr std::string_view kStopwatch = "stopwatch.gif";       // 35 x 44
inline constexpr std::string_view kSpinner = "spinner.gif";           // 94 x 27, animated
inline constexpr std::string_view kNextRest = "next_rest.gif";        // 96 x 29
inline constexpr std::string_view kNextLit = "next_lit.gif";
inline constexpr std::string_view kPreviousRest = "previous_rest.gif";  // 96 x 29
inline constexpr std::string_view kPreviousLit = "previous_lit.gif";
inline constexpr std::string_view kMasteredRest = "mastered_rest.gif";  // 214 x 29
inline constexpr std::string_view kMasteredLit = "mastered_lit.gif";
inline constexpr std::string_view kPlaceholder = "placeholder.jpg";  // 390 x 300
inline constexpr std::string_view kRightMark = "right_mark.gif";     // 64 x 64
inline constexpr std::string_view kWrongMark = "wrong_mark.gif";     // 64 x 64

}  // namespace ui::pictures
