#include "core/scene.h"

// time, deltaTime, start and duration are written by CDemo before they are read.
CScene::CScene() : time(0), localTime(0), deltaTime(0), start(0), duration(0) {}

CScene::~CScene() {}

void CScene::init() {}

void CScene::update() {}

void CScene::draw(float*) {}
