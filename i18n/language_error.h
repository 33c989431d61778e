#pragma once

#include <stdexcept>

namespace i18n {

class ELanguageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace i18n
