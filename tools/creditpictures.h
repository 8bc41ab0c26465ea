// The pictures of the loading screen and the credits: title, group logo, the party emblem,
// the credit cards and the three portraits. Each call paints one picture from nothing.
#pragma once

#include "canvas.h"

namespace creditpictures {

CCanvas loading();
CCanvas logo();
CCanvas partyEmblem();
CCanvas title();
// The title without its lettering and vignette: stars, the striped sun sinking behind the
// horizon (row 300, sun centred at 256, 236) and the floor grid. The program's icon is cut
// from it.
CCanvas titleSky();
CCanvas musicCredit();
CCanvas codeCredit();
// The three portraits, emblem above the handle: 0 tolvi, 1 brisel, 2 quander.
CCanvas portrait(int who);

}  // namespace creditpictures
