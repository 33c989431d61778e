// Runs every file of the corpus folders given through the fuzz entry point,
// so the corpus is exercised by every build, with or without libFuzzer. Fails
// when an exception escapes, and when an input makes the heap grow past what
// the reader's limits allow: the largest body, plus a few copies of the input
// itself.

#include "fuzz/fuzz_target.h"
#include "net/body_reader.h"

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <new>
#include <string>
#include <vector>

namespace {

// Heap in use and its high-water mark, counted by the replaced operators
// below; allocated sizes as the allocator rounds them.
std::size_t liveHeapBytes = 0;
std::size_t peakHeapBytes = 0;

void* Allocate(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    liveHeapBytes += malloc_usable_size(block);
    peakHeapBytes = std::max(peakHeapBytes, liveHeapBytes);
    return block;
}

void* AllocateOrNull(std::size_t size) noexcept
{
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void Release(void* block) noexcept
{
    if (block == nullptr)
        return;
    liveHeapBytes -= malloc_usable_size(block);
    std::free(block);
}

#ifndef HOPVANE_FUZZ_GENERATED_BYTES
#define HOPVANE_FUZZ_GENERATED_BYTES 0
#endif

// What one input may add to the heap at its peak: a body as large as the
// reader accepts (its room is reserved ahead), and the input, with what the
// entry point makes of it, held a few times over: as pieces, in the receive
// buffer, as the body and decoded.
std::size_t HeapAllowance(std::size_t inputSize)
{
    return net::kMaxBodyBytes + 8 * (inputSize + HOPVANE_FUZZ_GENERATED_BYTES) +
           (std::size_t{1} << 20);
}

std::vector<std::filesystem::path> CorpusFiles(const std::vector<std::string>& folders)
{
    std::vector<std::filesystem::path> files;
    for (const auto& folder : folders) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>());
}

} // namespace

void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return AllocateOrNull(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return AllocateOrNull(size);
}

void operator delete(void* block) noexcept
{
    Release(block);
}

void operator delete[](void* block) noexcept
{
    Release(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    Release(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    Release(block);
}

void operator delete(void* block, const std::nothrow_t&) noexcept
{
    Release(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    Release(block);
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " CORPUS_FOLDER...\n";
        return 2;
    }
    const auto files = CorpusFiles(std::vector<std::string>(argv + 1, argv + argc));
    int failed = 0;
    std::size_t largestGrowth = 0;
    for (const auto& path : files) {
        const auto bytes = FileBytes(path);
        const std::size_t before = liveHeapBytes;
        peakHeapBytes = before;
        try {
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        } catch (const std::exception& error) {
            std::cerr << path.string() << ": escaped: " << error.what() << '\n';
            ++failed;
            continue;
        }
        const std::size_t growth = peakHeapBytes - before;
        largestGrowth = std::max(largestGrowth, growth);
        if (growth > HeapAllowance(bytes.size())) {
            std::cerr << path.string() << ": heap grew by " << growth << " bytes for "
                      << bytes.size() << " input bytes\n";
            ++failed;
        }
    }
    std::cout << "replayed " << files.size() << " inputs, largest heap growth " << largestGrowth
              << " bytes\n";
    if (files.empty()) {
        std::cerr << "no corpus files\n";
        return 1;
    }
    return failed == 0 ? 0 : 1;
}
