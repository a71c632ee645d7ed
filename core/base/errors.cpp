#include "core/base/errors.h"

#include <cstring>

namespace kalvo {

std::string SystemErrorText(const std::string& fileName, int errorNumber)
{
    return fileName + ": " + std::strerror(errorNumber);
}

} // namespace kalvo
