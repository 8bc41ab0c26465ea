// The pictures laid over scenes: the greetings list, the tunnel's text, the side pictures and
// end-scene tiles, the end background and the closing picture.
#pragma once

#include "canvas.h"

namespace overlaypictures {

CCanvas greetings();
CCanvas tunnelText();
CCanvas warmTile();  // jente: the right-hand side picture
CCanvas coolTile();  // gutt: the left-hand side picture and the end scene's squares
CCanvas endBackground();
CCanvas theEnd();

}  // namespace overlaypictures
