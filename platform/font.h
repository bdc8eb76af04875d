#pragma once

#include <string>

#include "math/colour.h"
#include "platform/types.h"

class DEVICE;

// Screen text in one face and size, rasterised once into a glyph texture.
class FONT {
public:
    FONT(const std::string& face, int height, int flags);
    FONT(const FONT&) = delete;
    FONT& operator=(const FONT&) = delete;
    ~FONT();

    HRESULT BuildGlyphTexture(DEVICE* device);
    HRESULT PrepareDrawing();
    HRESULT DrawString(float x, float y, ARGB colour, const char* text, int flags);
    void ReleaseTexture();

private:
    std::string Face;
    int Height;  // points
    int Flags;
    DEVICE* Device = nullptr;
};
