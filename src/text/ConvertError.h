#pragma once

#include <stdexcept>

namespace tramble {

// A text that does not convert to the value asked for: a date, a time, a
// colour name.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tramble
