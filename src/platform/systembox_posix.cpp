#include "platform/systembox.h"

#include <SDL.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>

namespace {

// SDL puts the box up from a forked child process. Should the program end while the box waits,
// that child must end too rather than leave a box behind that belongs to nothing.
volatile pid_t boxParent = 0;

void endWithBoxParent() {
    if (boxParent == 0) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != boxParent) _exit(1);  // the parent ended before the line above
}

class BoxChildren {
public:
    BoxChildren() {
        static const bool registered = pthread_atfork(nullptr, nullptr, endWithBoxParent) == 0;
        if (registered) boxParent = getpid();
    }
    ~BoxChildren() { boxParent = 0; }
};

}  // namespace

bool showSystemBox(bool error, const char* text, const char* caption, SDL_Window* owner) {
    BoxChildren boxChildren;
    return SDL_ShowSimpleMessageBox(error ? SDL_MESSAGEBOX_ERROR : 0, caption, text, owner) == 0;
}
