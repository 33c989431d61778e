#pragma once

#include <exception>
#include <string>

namespace hopvane_fetch {

// What the tool prints for a failure: the client's message with every
// control character from the network shown escaped, and for a reply whose
// status line is empty or no text, that the reply was not HTTP.
std::string ErrorMessage(const std::exception& error);

// The text with control characters (line breaks aside) as \xNN.
std::string Printable(const std::string& text);

} // namespace hopvane_fetch
