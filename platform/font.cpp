#include "platform/font.h"

FONT::FONT(const std::string& face, int height, int flags)
    : Face(face), Height(height), Flags(flags) {}
FONT::~FONT() {}
HRESULT FONT::BuildGlyphTexture(DEVICE* device) {
    Device = device;
    return S_OK;
}
HRESULT FONT::PrepareDrawing() {
    return S_OK;
}
HRESULT FONT::DrawString(float, float, ARGB, const char*, int) {
    return Device ? S_OK : E_FAIL;
}
void FONT::ReleaseTexture() {
    Device = nullptr;
}
