#include "app/update_notice.h"

#include "platform/text_integer.h"

namespace app {

bool NamesNewerRelease(std::string_view releaseNumberText)
{
    const auto number = platform::TextToInteger(releaseNumberText);
    return number && *number > kThisRelease;
}

} // namespace app
