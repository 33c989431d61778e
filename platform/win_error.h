#pragma once

#include <cstdint>

namespace platform {

// Windows error codes: every platform reports failures of the registry and
// mutex services with these, so callers decide the same way everywhere.
using WinError = std::int32_t;

constexpr WinError kErrorSuccess = 0;
constexpr WinError kErrorFileNotFound = 2;
constexpr WinError kErrorAccessDenied = 5;
constexpr WinError kErrorInvalidHandle = 6;
constexpr WinError kErrorInvalidParameter = 87;
constexpr WinError kErrorBadPathname = 161;
constexpr WinError kErrorAlreadyExists = 183;
constexpr WinError kErrorMoreData = 234;
constexpr WinError kErrorInvalidName = 123;

} // namespace platform
