#include "platform/programfolder.h"

#include <SDL_filesystem.h>
#include <SDL_stdinc.h>

#include <filesystem>
#include <system_error>

// SDL gives the folder in UTF-8 on every system; taken as a narrow path on Windows it would
// lose any name outside the local code page.
std::filesystem::path programFolder(const char* argv0) {
    if (char* base = SDL_GetBasePath()) {
        std::filesystem::path folder = std::filesystem::u8path(base);
        SDL_free(base);
        return folder;
    }
    std::error_code error;
    std::filesystem::path typed = std::filesystem::absolute(argv0, error);
    return error ? std::filesystem::path() : typed.parent_path();
}
