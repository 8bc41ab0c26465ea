// The show's fixed facts that more than one place needs: where it ends, which music it plays and
// the size of the picture it draws.
// Plain constants with no dependencies, so that the data-set generator can share them.
#pragma once

// The show ends in the first frame whose time passes this, in seconds.
constexpr float kShowEndTime = 209.2f;

constexpr const char* kMusicFolder = "data/music/";
constexpr const char* kMusicFile = "Tarvok-Sunderline_(demo_edit).ogg";

// Every scene draws in a picture of this size, whatever the window's: their viewports, overlays
// and read-backs are written for it.
constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

// The large square pictures (loading, credits, closing) stand in the middle of the frame.
constexpr int kCentredPictureSize = 512;
constexpr int kCentredPictureX = (kFrameWidth - kCentredPictureSize) / 2;
constexpr int kCentredPictureY = (kFrameHeight - kCentredPictureSize) / 2;
