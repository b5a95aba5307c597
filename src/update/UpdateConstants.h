#pragma once

/// Where the program looks for its updates.
namespace UpdateConstants {
inline constexpr const char* UpdateHost = "www.brellan.example";
} // namespace UpdateConstants
