// In the browser a box is the page's: the page shows the caption and text over the picture
// (Module.vexmoroMessage, set by the page) and the console keeps them. Nothing waits for an
// answer; the browser cannot block on one.
#include <emscripten.h>

#include "platform/systembox.h"

bool showSystemBox(bool error, const char* text, const char* caption, SDL_Window*) {
    EM_ASM(
        {
            var caption = UTF8ToString($1);
            var text = UTF8ToString($2);
            ($0 ? console.error : console.warn)(caption + ": " + text);
            if (Module.vexmoroMessage) Module.vexmoroMessage($0 != 0, caption, text);
        },
        error, caption, text);
    return true;
}
