#include "objects/hero.h"

HERO::HERO(DEVICE* device, WORLD* world) {
    Device = device;
    World = world;
    Position = {800.0f, 600.0f};
    Anchor = {32.0f, 73.0f};
    Layer = 0;
    for (int k = 0; k < 26; ++k) {
        Frames[k].left = 64 * (k % 13);
        Frames[k].top = 74 * (k / 13);
        Frames[k].right = Frames[k].left + 64;
        Frames[k].bottom = Frames[k].top + 74;
    }
    Animations = {{0, 1, 2, 1}, {3, 4, 5, 4}, {6, 10, 4}, {6, 7, 8, 6}, {9}, {11, 12}, {6}};
}

void HERO::Render(SPRITE*, float) {}
void HERO::UpdateHero(float, std::vector<OBJECT*>&) {}
void HERO::DrawHealth(SPRITE*) {}

int HERO::CurrentFrame() const {
    int a = Animation % 7;
    if (a < 0 || Animations[a].empty()) {
        return 0;
    }
    const std::vector<int>& seq = Animations[a];
    int frame = seq[static_cast<size_t>(Step) % seq.size()] + 13 * Facing;
    return (frame < 0 || frame >= 26) ? 0 : frame;
}
