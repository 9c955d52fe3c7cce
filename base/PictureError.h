#pragma once

#include "platform/Failure.h"

#include <string>

// A picture that cannot be read: a damaged or foreign file, or one missing from the program's resources.
// The message says which picture and what is wrong with it.
class PictureError : public platform::Failure {
public:
    explicit PictureError(const std::string& message) : platform::Failure(QString::fromStdString(message)) {}
};
