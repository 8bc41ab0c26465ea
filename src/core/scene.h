// Base of every effect of the show. CDemo writes the public timing fields and calls update and
// draw while the show time lies inside the scene's window; scenes never decide when they run.
// init, update and draw need the GL context current; main thread only.
#pragma once

class CScene {
public:
    CScene();
    virtual ~CScene();

    virtual void init();
    virtual void update();
    // spectrum: the music player's 512 floats, valid during this call only.
    virtual void draw(float* spectrum);

    float time;
    float localTime;
    float deltaTime;
    float start;
    float duration;
};
