#pragma once

#include <string>

namespace settings {

// The test URL in use: the current text of the configuration window's edit
// box. Any thread may ask; the answer is always a whole text, as it stood
// before or after an edit.
class TestUrlSource {
public:
    virtual ~TestUrlSource() = default;
    virtual std::string CurrentTestUrl() = 0;
};

} // namespace settings
