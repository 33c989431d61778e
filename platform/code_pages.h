#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Decodes text in a Windows code page (1250, 28592, 65001, 1200, 932, ...) to
// UTF-8; a byte sequence that is not valid in it becomes U+FFFD. The text
// stops before the first character that would take it past maxBytes. None
// when the system cannot decode that code page.
std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage,
                                          std::size_t maxBytes = SIZE_MAX);

} // namespace platform
