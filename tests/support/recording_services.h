#pragma once

#include "platform/clipboard.h"
#include "platform/shell.h"

#include <string>
#include <vector>

namespace test_support {

// A shell that records the addresses it was asked to open.
struct RecordingShell final : platform::Shell {
    void OpenUrl(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};

// A clipboard that records the texts put on it.
struct RecordingClipboard final : platform::Clipboard {
    void SetText(const std::string& utf8) override { texts.push_back(utf8); }
    std::vector<std::string> texts;
};

} // namespace test_support
