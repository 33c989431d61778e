#pragma once

#include "net/byte_sink.h"
#include "platform/files.h"

#include <string>
#include <string_view>

namespace net {

// A file as the sink of GetStream: the body goes into it as it arrives, from
// the file's start on, and what the file held beyond the body is cut off by
// Truncate only. Every failure throws platform::FileError:
// Cannot create file "PATH". REASON
class FileStream : public ByteSink {
public:
    // Creates the file when missing.
    explicit FileStream(const std::string& path) : file_(path) {}

    void Write(std::string_view bytes) override { file_.Write(bytes); }
    void Truncate() override { file_.CutOffRest(); }

private:
    platform::WritableFile file_;
};

} // namespace net
