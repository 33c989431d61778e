#pragma once

#include "platform/text_codec.h"

#include <string>
#include <string_view>
#include <vector>

namespace proxylist {

// The lines of a text: it ends at its first NUL; CR LF, a lone CR and a lone
// LF each end a line; a break at the very end adds no empty line.
std::vector<std::string> SplitListText(std::string_view text);

// Every line followed by CR LF.
std::string JoinListText(const std::vector<std::string>& lines);

struct DecodedListFile {
    platform::TextEncoding encoding;
    std::string text;
};

// The byte-order mark at the start picks the encoding and is dropped; with
// none the bytes are the ANSI code page.
DecodedListFile DecodeListFile(std::string_view bytes);

// The byte-order mark of the encoding, then the text in it.
std::string EncodeListFile(std::string_view text, platform::TextEncoding encoding);

} // namespace proxylist
