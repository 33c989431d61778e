#pragma once

#include <cstddef>
#include <cstdint>

// The libFuzzer entry point; the corpus replay program calls it too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
