#pragma once

// The values of the settings when the settings file has none.
namespace app {

inline constexpr const char* settingsGroup = "settings";
inline constexpr const char* defaultServerAddress = "localhost:3000";
inline constexpr const char* defaultHtmlOptions =
    "-no_navigation -split 0 -link 0 -math_scale_factor 1.29 -figure_scale_factor 1.29";

}  // namespace app
