// The show's fixed facts that more than one place needs: where it ends and which music it plays.
// Plain constants with no dependencies, so that the data-set generator can share them.
#pragma once

// The show ends in the first frame whose time passes this, in seconds.
constexpr float kShowEndTime = 209.2f;

constexpr const char* kMusicFolder = "data/music/";
constexpr const char* kMusicFile = "Tarvok-Sunderline_(demo_edit).ogg";
