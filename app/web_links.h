#pragma once

#include <string>

namespace app {

// Pages on the Czech-language site of the service host opened in the user's
// browser; the active language ("English" or "Czech") picks the page.
std::string ProductPageUrl(const std::string& activeLanguage);
std::string MyIpPageUrl(const std::string& activeLanguage);

} // namespace app
