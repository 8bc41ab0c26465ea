#include "platform/message.h"

#include <SDL.h>

#include "platform/glwindow.h"

static_assert(sizeof(SDL_Event) <= sizeof(CMessage), "CMessage must hold an SDL_Event");

CMessage::CMessage() : event{} {}

bool CMessage::peek() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return false;
    return SDL_PollEvent(reinterpret_cast<SDL_Event*>(event)) == 1;
}

bool CMessage::isQuit() const {
    return reinterpret_cast<const SDL_Event*>(event)->type == SDL_QUIT;
}

void CMessage::dispatch() const {
    windowProc(*reinterpret_cast<const SDL_Event*>(event));
}
