// The program's command line: which options it takes, how each is spelled and checked, and the
// usage text. Fills a COptions and does nothing with it.
#pragma once

#include <string>

#include "show/options.h"

class CCommandLine {
public:
    explicit CCommandLine(COptions& target);

    // Fills the options from argv; on a bad command line returns false with `error` set.
    bool parse(int argc, const char* const* argv, std::string& error);

    static const char* usage();

private:
    bool takeFlag(const std::string& arg);
    bool takeValue(const std::string& arg, const char* value, std::string& error);
    bool takeSeconds(const std::string& arg, const char* value, std::string& error);
    bool takeRate(const char* value, std::string& error);

    COptions& options;
};
