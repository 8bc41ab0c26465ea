#include "platform/programfolder.h"

#include <SDL_filesystem.h>
#include <SDL_stdinc.h>

#include <filesystem>
#include <system_error>

std::string programFolder(const char* argv0) {
    if (char* base = SDL_GetBasePath()) {
        std::string folder = base;
        SDL_free(base);
        return folder;
    }
    std::error_code error;
    std::filesystem::path typed = std::filesystem::absolute(argv0, error);
    return error ? std::string() : typed.parent_path().string();
}
