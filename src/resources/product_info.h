// The tool's own texts that more than one place shows or opens.
#pragma once

namespace orv {

// The author's home page: the version dialog's link and the home-page command open it.
inline constexpr const char* kHomePageAddress = "https://orvalinde.example/";
inline constexpr const char* kCopyrightLine = "Copyright (C) 2026 Orvalinde Project";

}  // namespace orv
