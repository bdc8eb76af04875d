#include "world/world.h"

#include "objects/object.h"

WORLD::WORLD(DEVICE* device) : Device(device) {}

WORLD::~WORLD() {
    for (OBJECT* o : ObjectList) {
        delete o;
    }
}

bool WORLD::LoadMap(int, HERO*) {
    return false;
}

int WORLD::GetTile(int, int) const {
    return 0;
}

VECTOR2 WORLD::WorldToScreen(float x, float y, float zoom) const {
    float left = (CameraTarget.x + CurrentLead.x) * zoom - 400.0f / zoom;
    float top = (CameraTarget.y + CurrentLead.y) * zoom - 300.0f / zoom;
    return {(x - left) * zoom, (y - top) * zoom};
}

void WORLD::DrawWorld(SPRITE*, float) {}
void WORLD::Update(float dt, HERO*, BINK*) {
    Clock += dt;
}
void WORLD::RenderObjects(SPRITE* sprite, float zoom, uint8_t layer) {
    for (OBJECT* o : ObjectList) {
        if (o->Layer == layer) {
            o->Render(sprite, zoom);
        }
    }
}
void WORLD::AddObject(OBJECT* object) {
    ObjectList.push_back(object);
}
void WORLD::AddObjectFront(OBJECT* object) {
    ObjectList.insert(ObjectList.begin(), object);
}
void WORLD::SetTile(int column, int row, int value) {
    if (column >= 0 && column < MAP_COLUMNS && row >= 0 && row < MAP_ROWS) {
        Grid[column * MAP_ROWS + row] = value;
    }
}
