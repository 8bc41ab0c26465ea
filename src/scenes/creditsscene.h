// The credits scene of the show. Its effect is not written yet: it takes its place in the
// timeline and draws nothing. Needs the GL context current; main thread only.
#pragma once

#include "core/scene.h"

class CCreditsScene : public CScene {};
