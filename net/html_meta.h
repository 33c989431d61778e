#pragma once

#include "net/http_response.h"

#include <string>
#include <string_view>
#include <vector>

namespace net {

// What the "META" elements of an HTML document's head say about it.
struct HtmlMeta {
    // "HTTP-EQUIV" name and "CONTENT" value of each, in document order.
    std::vector<HeaderField> httpEquiv;
    // The first "CHARSET" attribute; empty when none.
    std::string charset;
};

// Looks at the elements up to the end of the head (or the start of the
// body); comments are skipped. Names are compared without regard to case.
// At most kMaxHeaderLines entries are taken.
HtmlMeta ScanHtmlMeta(std::string_view document);

} // namespace net
