#pragma once

#include "i18n/translation_component.h"

#include <string_view>

namespace i18n {

// The translation tables each window carries, in their stored form.
const StoredTranslations& FrmMainTranslations();

// The English "urlset.Text" line holds the secure default test URL, which the
// build decides.
StoredTranslations FrmConfigTranslations(std::string_view secureDefaultTestUrl);

} // namespace i18n
