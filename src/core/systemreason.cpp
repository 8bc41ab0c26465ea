#include "core/systemreason.h"

#include <cstring>

std::string systemReason(int error) {
    if (error == 0) return "";
    return std::string(": ") + std::strerror(error);
}
