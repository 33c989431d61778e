#include "net/memory_stream.h"

#include "net/body_reader.h"

#include <algorithm>

namespace net {

void MemoryStream::Grow(std::size_t needed)
{
    if (needed <= bytes_.capacity())
        return;
    // Doubling, but a body within the client's limit never costs more than
    // that limit.
    std::size_t target = std::max(needed, bytes_.capacity() * 2);
    if (needed <= kMaxBodyBytes)
        target = std::min(target, kMaxBodyBytes);
    // A fresh string: growing one in place would at least double it.
    std::string grown;
    grown.reserve(target);
    grown.append(bytes_);
    bytes_.swap(grown);
}

void MemoryStream::Write(std::string_view bytes)
{
    Grow(std::max(position_, bytes_.size()) + bytes.size());
    if (position_ > bytes_.size())
        bytes_.resize(position_, '\0');
    const std::size_t overwritten = std::min(bytes.size(), bytes_.size() - position_);
    bytes_.replace(position_, overwritten, bytes.data(), overwritten);
    bytes_.append(bytes.data() + overwritten, bytes.size() - overwritten);
    position_ += bytes.size();
}

void MemoryStream::Reserve(std::size_t moreBytes)
{
    Grow(std::max(bytes_.size(), position_ + moreBytes));
}

void MemoryStream::Truncate()
{
    if (position_ < bytes_.size())
        bytes_.resize(position_);
}

} // namespace net
