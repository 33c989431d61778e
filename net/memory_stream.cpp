#include "net/memory_stream.h"

#include <algorithm>

namespace net {

void MemoryStream::Write(std::string_view bytes)
{
    if (position_ > bytes_.size())
        bytes_.resize(position_, '\0');
    const std::size_t overwritten = std::min(bytes.size(), bytes_.size() - position_);
    bytes_.replace(position_, overwritten, bytes.data(), overwritten);
    bytes_.append(bytes.data() + overwritten, bytes.size() - overwritten);
    position_ += bytes.size();
}

void MemoryStream::Reserve(std::size_t moreBytes)
{
    bytes_.reserve(std::max(bytes_.size(), position_ + moreBytes));
}

void MemoryStream::Truncate()
{
    if (position_ < bytes_.size())
        bytes_.resize(position_);
}

} // namespace net
