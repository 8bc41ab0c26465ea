// How the scenes make their textures and rooms in init: each call hands the caller a new object
// to own. Failures are reported by the loaders and not returned; the scenes go on with what they
// got. Needs the GL context current; main thread only.
#pragma once

#include <memory>

#include "assets/eglbrush.h"
#include "assets/texture.h"

// A texture from a picture file; it holds no GL name when the file fails to load.
std::unique_ptr<CTexture> loadTexture(const char* path);

// A black size by size texture for the scene to fill from the frame.
std::unique_ptr<CTexture> emptyTexture(int size);

// A closed mesh scaled by `factor`, lit, then turned inside out for a camera inside it: its faces
// and normals point inward. Only the first mesh is prepared; a file that fails gives no meshes.
std::unique_ptr<CEGLBrush> loadInsideOut(const char* path, float factor);
