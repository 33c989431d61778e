#pragma once

#include <string>

namespace platform {

// The system clipboard. On Windows it is the system's own; elsewhere the
// clipboard belongs to the display server, so the window toolkit provides it.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's contents with the text. Throws
    // std::runtime_error naming the system's reason when it can't.
    virtual void SetText(const std::string& utf8) = 0;
};

} // namespace platform
