#pragma once

#include <string_view>

namespace switching {

// What the service reported as the address a request through a proxy came
// from, against the user's own.
enum class ExitAddress {
    kOther,        // the proxy hides the user
    kUsersOwn,     // the site sees the user: the proxy is transparent or forwards it
    kNotAnAddress, // nothing that tells where the request came out
};

// Whether the text (blanks around it aside) is an IPv4 or IPv6 address.
bool IsAddressText(std::string_view text);

// `own`: the user's address as reported at start, an address.
ExitAddress JudgeExitAddress(std::string_view reported, std::string_view own);

} // namespace switching
