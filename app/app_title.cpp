#include "app/app_title.h"

#include "platform/text_case.h"
#include "platform/text_codec.h"

namespace app {

std::string ApplicationTitle(const std::string& executablePath)
{
    const auto slash = executablePath.find_last_of("/\\");
    std::string name =
        slash == std::string::npos ? executablePath : executablePath.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    const std::string first = platform::Utf16Prefix(name, 1);
    return first + platform::FoldCase(name.substr(first.size()));
}

} // namespace app
