#pragma once

#include <stdexcept>

// A picture that cannot be read: a damaged or foreign file, or one missing from the program's resources.
// The message says which picture and what is wrong with it.
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
