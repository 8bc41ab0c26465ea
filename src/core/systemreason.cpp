#include "core/systemreason.h"

#include <cstring>

std::string reasonFrom(const std::string& words) {
    return words.empty() ? std::string() : ": " + words;
}

std::string systemReason(int error) {
    return error == 0 ? std::string() : reasonFrom(std::strerror(error));
}
