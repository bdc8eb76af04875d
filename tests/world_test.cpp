// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The tile grid, the camera, world drawing on real pixels, the object pass
// and its list, the contact test, the shared frame draw and the sprite
// sheets.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "objects/bink.h"
#include "objects/hero.h"
#include "objects/object.h"
#include "objects/sprites.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/sprite.h"
#include "platform/texture.h"
#include "tests/test_support.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;
using TEST_SUPPORT::TEMP_DIR;

// --- Tile queries and the camera -------------------------------------------

TEST(WorldTiles, GetTileTruncatesTowardZeroAndIsEmptyOutside) {
    WORLD w(nullptr);
    w.SetTile(0, 0, 7);
    w.SetTile(0, 14, 4);
    w.SetTile(999, 0, 9);
    w.SetTile(3, 2, 30);
    EXPECT_EQ(w.GetTile(-10, 0), 7);  // -10 / 64 truncates to column 0
    EXPECT_EQ(w.GetTile(0, -10), 7);  // and to row 0
    EXPECT_EQ(w.GetTile(-64, 0), 0);  // column -1
    EXPECT_EQ(w.GetTile(0, -64), 0);  // row -1
    EXPECT_EQ(w.GetTile(63999, 0), 9);
    EXPECT_EQ(w.GetTile(64000, 0), 0);
    EXPECT_EQ(w.GetTile(0, 959), 4);
    EXPECT_EQ(w.GetTile(0, 960), 0);
    EXPECT_EQ(w.GetTile(3 * 64 + 63, 2 * 64), 30);
    EXPECT_EQ(w.GetTile(4 * 64, 2 * 64), 0);
}

TEST(WorldCamera, WorldToScreenFollowsTheTargetAndClampsAtTheBottom) {
    WORLD w(nullptr);
    w.Height = 15;

    // Zoom 1: the hero sits in the middle until the bottom row comes up.
    w.CameraTarget = {1000.0f, 300.0f};
    EXPECT_EQ(w.WorldToScreen(1000.0f, 300.0f, 1.0f), VECTOR2(400.0f, 300.0f));
    w.CameraTarget = {1000.0f, 900.0f};
    EXPECT_EQ(w.WorldToScreen(1000.0f, 900.0f, 1.0f), VECTOR2(400.0f, 540.0f));
    // The clamp acts on the vertical only.
    EXPECT_EQ(w.WorldToScreen(1000.0f, 960.0f, 1.0f).y, 600.0f);

    // Zoom 0.5 with the target at hero / zoom, as the game sets it.
    w.CameraTarget = VECTOR2(1000.0f, 300.0f) * (1.0f / 0.5f);
    EXPECT_EQ(w.WorldToScreen(1000.0f, 300.0f, 0.5f), VECTOR2(400.0f, 300.0f));
    // Below y = 360 the clamp pulls top to 960 - 1200 = -240.
    w.CameraTarget = VECTOR2(1000.0f, 400.0f) * (1.0f / 0.5f);
    EXPECT_EQ(w.WorldToScreen(1000.0f, 400.0f, 0.5f), VECTOR2(400.0f, 320.0f));
    EXPECT_EQ(w.WorldToScreen(1000.0f, 0.0f, 0.5f).y, 120.0f);
    // The look-ahead moves the hero by zoom² × lead.
    w.CurrentLead = {100.0f, 0.0f};
    EXPECT_EQ(w.WorldToScreen(1000.0f, 400.0f, 0.5f).x, 375.0f);
}

// --- World drawing on pixels ------------------------------------------------

// Tile image v is one flat colour that names v; the background's colour
// names its own column.
ARGB TileColour(int v) {
    return 0xFF000000u | ARGB(v * 8) << 16 | ARGB(255 - v * 8) << 8 | 0x40u;
}
int BackgroundColumn(ARGB c) {
    return int((c >> 8) & 0xFF) * 256 + int(c & 0xFF);
}

class WORLD_DRAWING : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(Device.CreateOffscreen(&error)) << error;
        std::vector<uint32_t> sheet(640 * 192);
        for (int y = 0; y < 192; ++y) {
            for (int x = 0; x < 640; ++x) {
                sheet[size_t(y) * 640 + x] = TileColour(1 + (y / 64) * 10 + x / 64);
            }
        }
        TEST_SUPPORT::WriteBytes(Dir.File("tiles.dds"), TEST_SUPPORT::MakeDds(640, 192, sheet));
        std::vector<uint32_t> bg(800 * 600);
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                bg[size_t(y) * 800 + x] = 0xFF800000u | ARGB(x >> 8) << 8 | ARGB(x & 0xFF);
            }
        }
        TEST_SUPPORT::WriteBytes(Dir.File("bg.dds"), TEST_SUPPORT::MakeDds(800, 600, bg));
        World.TileTexture = TEXTURE::LoadExact(&Device, Dir.File("tiles.dds"), 640, 192);
        World.Background = TEXTURE::LoadExact(&Device, Dir.File("bg.dds"), 800, 600);
        ASSERT_NE(World.TileTexture, nullptr);
        ASSERT_NE(World.Background, nullptr);
        World.Height = 15;
    }
    void Draw(float zoom) {
        Device.Clear(0xFF000000u);
        World.DrawWorld(&Sprite, zoom);
    }
    // Tile draws of one DrawWorld, the two background copies not counted.
    uint64_t CountTileDraws(float zoom) {
        uint64_t before = Device.DrawCalls;
        Draw(zoom);
        return Device.DrawCalls - before - 2;
    }

    TEMP_DIR Dir;
    DEVICE Device;
    SPRITE Sprite{&Device};
    WORLD World{&Device};
};

TEST_F(WORLD_DRAWING, TilesLandAtTheirCellsAndNegativeCellsAreSkipped) {
    World.SetTile(0, 0, 30);
    World.SetTile(1, 0, 1);
    World.SetTile(1, 1, 0);
    World.SetTile(2, 1, 31);  // no image belongs to it: nothing drawn
    // left = -100, top = 0 at zoom 1.
    World.CameraTarget = {300.0f, 300.0f};
    Draw(1.0f);
    EXPECT_EQ(Device.ReadPixel(100, 0), TileColour(30));
    EXPECT_EQ(Device.ReadPixel(163, 63), TileColour(30));
    EXPECT_EQ(Device.ReadPixel(164, 10), TileColour(1));
    EXPECT_NE(Device.ReadPixel(99, 10), TileColour(30));
    EXPECT_NE(Device.ReadPixel(130, 64), TileColour(30));
    EXPECT_EQ(BackgroundColumn(Device.ReadPixel(130, 100)), 180);  // background beneath
    EXPECT_EQ(BackgroundColumn(Device.ReadPixel(240, 100)), 290);  // value 31 drew nothing

    // Zoom 0.5: the same tile covers 32 screen pixels from its corner.
    World.CameraTarget = {1600.0f, 800.0f};  // left = 0, top = -240 (clamped)
    Draw(0.5f);
    EXPECT_EQ(Device.ReadPixel(1, 121), TileColour(30));
    EXPECT_EQ(Device.ReadPixel(31, 151), TileColour(30));
    EXPECT_EQ(Device.ReadPixel(33, 125), TileColour(1));
    EXPECT_NE(Device.ReadPixel(10, 118), TileColour(30));
}

TEST_F(WORLD_DRAWING, OnlyTheVisibleWindowIsDrawn) {
    for (int c = 0; c < MAP_COLUMNS; ++c) {
        for (int r = 0; r < MAP_ROWS; ++r) {
            World.SetTile(c, r, 1 + (c + r) % 30);
        }
    }
    // Zoom 1, left = 1000, top = 100: columns 15..28 and rows 1..11.
    World.CameraTarget = {1400.0f, 400.0f};
    EXPECT_EQ(CountTileDraws(1.0f), 14u * 11u);
    // Zoom 0.5, left = 1000, top clamped to -240: columns 15..41 and the
    // rows -3..16 cut to the grid's 0..14.
    World.CameraTarget = {3600.0f, 800.0f};
    EXPECT_EQ(CountTileDraws(0.5f), 27u * 15u);
    // At the right end of the map: columns 992..999 only.
    World.CameraTarget = {63900.0f, 300.0f};
    EXPECT_EQ(CountTileDraws(1.0f), 8u * 11u);
    // Empty cells draw nothing.
    World.SetTile(20, 5, 0);
    World.CameraTarget = {1400.0f, 400.0f};
    EXPECT_EQ(CountTileDraws(1.0f), 14u * 11u - 1);
}

TEST_F(WORLD_DRAWING, BackgroundScrollsAtASixthOfTheHerosMovement) {
    // Hero at x = 600: the background is drawn from -100, so screen x 0
    // shows its column 100 and the second copy starts at 700.
    World.CameraTarget = {600.0f, 300.0f};
    Draw(1.0f);
    EXPECT_EQ(BackgroundColumn(Device.ReadPixel(0, 500)), 100);
    EXPECT_EQ(BackgroundColumn(Device.ReadPixel(699, 500)), 799);
    EXPECT_EQ(BackgroundColumn(Device.ReadPixel(750, 500)), 50);
    // The same hero at zoom 0.5 scrolls it the same; 5400 / 6 wraps at 800.
    World.CameraTarget = {1200.0f, 600.0f};
    Draw(0.5f);
    EXPECT_EQ(BackgroundColumn(Device.ReadPixel(0, 500)), 100);
    World.CameraTarget = {5400.0f, 300.0f};
    Draw(1.0f);
    EXPECT_EQ(BackgroundColumn(Device.ReadPixel(0, 500)), 100);
}

// Each stage draws its own backdrop, scrolled as the meadow's is; a stage
// whose picture is missing draws the meadow's.
TEST_F(WORLD_DRAWING, EachStageDrawsItsOwnBackdropOrTheMeadows) {
    constexpr ARGB CAVE = 0xFF4020A0u;
    TEST_SUPPORT::WriteBytes(
        Dir.File("cave.dds"),
        TEST_SUPPORT::MakeDds(800, 600, std::vector<uint32_t>(800 * 600, CAVE)));
    World.StageBackgrounds[0] = TEXTURE::LoadExact(&Device, Dir.File("cave.dds"), 800, 600);
    ASSERT_NE(World.StageBackgrounds[0], nullptr);
    World.CameraTarget = {600.0f, 300.0f};
    for (int level : {0, 3, 4, 7, 8, 11}) {
        World.Level = level;
        Draw(1.0f);
        ARGB seen = Device.ReadPixel(750, 500);
        if (level / 4 == 1) {
            EXPECT_EQ(seen, CAVE) << "level " << level;
        } else {
            EXPECT_EQ(BackgroundColumn(seen), 50) << "level " << level;
        }
    }
}

// The real art on a small test map, written out for a look when
// VORTIGAN_SHOT_DIR names a folder.
TEST(WorldPicture, TestMapAtBothZooms) {
    const fs::path data = VORTIGAN_DATA_DIR;
    if (!fs::exists(data / "textures/tiles.bmp")) {
        GTEST_SKIP() << "no baked tile sheet in " << data;
    }
    TEMP_DIR dir;
    std::string map;
    for (int r = 0; r < 15; ++r) {
        for (int c = 0; c < 60; ++c) {
            int v = 0;
            if (r >= 12) {
                v = (c % 9 == 4 && r == 12) ? 0 : (r == 12 ? 1 + c % 3 : 11 + c % 3);
            } else if (r == 8 && c >= 6 && c < 36) {
                v = 1 + (c - 6);  // every image of the sheet in a row
            } else if (r == 5 && c > 14 && c < 20) {
                v = 21 + c % 10;
            }
            map += std::to_string(v) + ' ';
        }
        map += "-1\n";
    }
    TEST_SUPPORT::WriteText(dir.File("test.map"), map);

    DEVICE device;
    std::string error;
    ASSERT_TRUE(device.CreateOffscreen(&error)) << error;
    SPRITE sprite(&device);
    const fs::path before = fs::current_path();
    fs::current_path(data);  // the world loads its pictures from here
    {
        WORLD world(&device);
        HERO hero(&device, &world);
        fs::current_path(before);
        world.LevelTable[0] = dir.File("test.map");
        ASSERT_TRUE(world.LoadMap(0, &hero));
        ASSERT_NE(world.TileTexture, nullptr);
        const char* shots = std::getenv("VORTIGAN_SHOT_DIR");
        for (float zoom : {1.0f, 0.5f}) {
            world.CameraTarget = VECTOR2(700.0f, 700.0f) * (1.0f / zoom);
            device.Clear(0xFF202040u);
            world.DrawWorld(&sprite, zoom);
            // The top-left of tile (10, 8), value 5, against the map's
            // bottom edge at the bottom of the screen.
            VECTOR2 at = world.WorldToScreen(10 * 64.0f + 20, 8 * 64.0f + 20, zoom);
            EXPECT_NE(device.ReadPixel(int(at.x), int(at.y)), 0xFF202040u);
            EXPECT_EQ(world.WorldToScreen(0.0f, 960.0f, zoom).y, 600.0f);
            if (shots) {
                std::string name = zoom == 1.0f ? "world_zoom1.png" : "world_zoom05.png";
                EXPECT_TRUE(device.SaveScreenshot((fs::path(shots) / name).string()));
            }
        }
    }
}

// --- The object list and its pass ------------------------------------------

// Writes its name into a shared journal on every update and render; what it
// does beyond that is up to each test.
class ACTOR : public OBJECT {
public:
    ACTOR(WORLD* world, std::vector<std::string>* journal, std::string name, uint8_t layer = 0)
        : Journal(journal), Name(std::move(name)) {
        World = world;
        Layer = layer;
    }
    ~ACTOR() override {
        if (Deleted) {
            ++*Deleted;
        }
    }
    void Update(float) override {
        Journal->push_back(Name);
        if (Throws) {
            throw std::runtime_error("broken");
        }
        for (int i = 0; i < SpawnFront; ++i) {
            World->AddObjectFront(new ACTOR(World, Journal, Name + "<"));
        }
        for (int i = 0; i < SpawnBack; ++i) {
            World->AddObject(new ACTOR(World, Journal, Name + ">"));
        }
    }
    void Render(SPRITE*, float) override { Journal->push_back("draw " + Name); }
    bool IsDead() override { return Dead; }

    std::vector<std::string>* Journal;
    std::string Name;
    bool Dead = false;
    bool Throws = false;
    int SpawnFront = 0;
    int SpawnBack = 0;
    int* Deleted = nullptr;
};

using JOURNAL = std::vector<std::string>;

class OBJECT_PASS : public ::testing::Test {
protected:
    ACTOR* Add(const std::string& name, uint8_t layer = 0) {
        auto* a = new ACTOR(&World, &Journal, name, layer);
        a->Deleted = &Deleted;
        World.AddObject(a);
        return a;
    }
    JOURNAL Frame() {
        Journal.clear();
        World.Update(0.1f, &Hero, &Bink);
        return Journal;
    }

    WORLD World{nullptr};
    HERO Hero{nullptr, &World};
    BINK Bink;
    JOURNAL Journal;
    int Deleted = 0;
};

TEST_F(OBJECT_PASS, OneFinishedObjectLeavesPerFrameAndEndsThePass) {
    Add("a");
    Add("b")->Dead = true;
    Add("c");
    Add("d")->Dead = true;
    Add("e");
    EXPECT_EQ(Frame(), (JOURNAL{"a"}));
    EXPECT_EQ(Deleted, 1);
    EXPECT_EQ(Frame(), (JOURNAL{"a", "c"}));
    EXPECT_EQ(Deleted, 2);
    EXPECT_EQ(Frame(), (JOURNAL{"a", "c", "e"}));
    EXPECT_EQ(World.ObjectList.size(), 3u);
}

TEST_F(OBJECT_PASS, ObjectsAddedDuringThePassNeitherSkipNorRepeat) {
    Add("a");
    ACTOR* f = Add("f");
    f->SpawnFront = 1;  // a shot launched at the front on every update
    Add("b");
    EXPECT_EQ(Frame(), (JOURNAL{"a", "f", "b"}));
    EXPECT_EQ(Frame(), (JOURNAL{"f<", "a", "f", "b"}));
    EXPECT_EQ(Frame(), (JOURNAL{"f<", "f<", "a", "f", "b"}));

    // Many at once, at both ends, so the list grows past its capacity
    // while the pass stands inside it.
    f->SpawnFront = 0;
    ACTOR* g = Add("g");
    g->SpawnFront = 40;
    g->SpawnBack = 40;
    Add("h");
    JOURNAL j = Frame();
    EXPECT_EQ(j, (JOURNAL{"f<", "f<", "f<", "a", "f", "b", "g", "h"}));
    g->SpawnFront = g->SpawnBack = 0;
    EXPECT_EQ(Frame().size(), 8u + 80u);
    // Drawn below the objects already in the layer: first in the list.
    Journal.clear();
    World.RenderObjects(nullptr, 1.0f, 0);
    EXPECT_EQ(Journal.front(), "draw g<");
    EXPECT_EQ(Journal.back(), "draw g>");
}

TEST_F(OBJECT_PASS, ClockLeadAndFailures) {
    // An empty list still advances the clock and eases the look-ahead.
    World.CameraLead = {100.0f, 0.0f};
    World.Update(0.25f, &Hero, &Bink);
    EXPECT_FLOAT_EQ(World.Clock, 0.25f);
    EXPECT_FLOAT_EQ(World.CurrentLead.x, 50.0f);
    World.Update(0.25f, &Hero, &Bink);
    EXPECT_FLOAT_EQ(World.CurrentLead.x, 75.0f);
    EXPECT_EQ(World.CurrentLead.y, 0.0f);

    // A failing object ends the pass quietly; the next frame tries again.
    TEMP_DIR dir;
    LOG::Open(dir.File("debug.txt"));
    Add("a");
    Add("x")->Throws = true;
    Add("c");
    EXPECT_EQ(Frame(), (JOURNAL{"a", "x"}));
    EXPECT_EQ(Frame(), (JOURNAL{"a", "x"}));
    EXPECT_FLOAT_EQ(World.Clock, 0.7f);
    LOG::Close();
    EXPECT_EQ(TEST_SUPPORT::ReadText(dir.File("debug.txt")), "");
}

TEST_F(OBJECT_PASS, RenderObjectsDrawsOneLayerInListOrder) {
    Add("a", 1);
    Add("b", 0);
    Add("c", 1);
    World.AddObjectFront(new ACTOR(&World, &Journal, "d", 1));
    World.RenderObjects(nullptr, 1.0f, 1);
    EXPECT_EQ(Journal, (JOURNAL{"draw d", "draw a", "draw c"}));
    Journal.clear();
    World.RenderObjects(nullptr, 1.0f, 0);
    EXPECT_EQ(Journal, (JOURNAL{"draw b"}));
}

// --- Contact, the frame draw and the sheets --------------------------------

TEST(BoxesTouch, CornersInsideBoundsIncluded) {
    BOX outer{0, 0, 100, 100};
    BOX inner{40, 40, 60, 60};
    EXPECT_TRUE(BoxesTouch(inner, outer));
    EXPECT_FALSE(BoxesTouch(outer, inner));  // why callers test both ways

    BOX tall{45, -50, 55, 150};
    BOX flat{-50, 45, 150, 55};
    EXPECT_FALSE(BoxesTouch(tall, flat));
    EXPECT_FALSE(BoxesTouch(flat, tall));

    BOX right{100, 20, 150, 80};    // shares the edge x = 100
    BOX below{100, 100, 120, 120};  // shares the corner (100, 100)
    EXPECT_TRUE(BoxesTouch(outer, right) || BoxesTouch(right, outer));
    EXPECT_TRUE(BoxesTouch(below, outer));
    BOX apart{101, 0, 150, 100};
    EXPECT_FALSE(BoxesTouch(apart, outer));
    EXPECT_FALSE(BoxesTouch(outer, apart));
}

class FRAME_DRAWER : public OBJECT {
public:
    void Update(float) override {}
    void Render(SPRITE* sprite, float zoom) override {
        DrawFrame(sprite, Sheet, Frame, zoom, Scale);
    }
    TEXTURE* Sheet = nullptr;
    RECT Frame{0, 0, 20, 20};
    float Scale = 1.0f;
};

TEST(DrawFrame, AnchorPixelLandsOnThePosition) {
    DEVICE device;
    std::string error;
    ASSERT_TRUE(device.CreateOffscreen(&error)) << error;
    TEMP_DIR dir;
    TEST_SUPPORT::WriteBytes(
        dir.File("s.dds"), TEST_SUPPORT::MakeDds(20, 20, std::vector<uint32_t>(400, 0xFFFF0000u)));
    SPRITE sprite(&device);
    WORLD world(&device);
    world.Height = 15;
    FRAME_DRAWER o;
    o.World = &world;
    o.Sheet = TEXTURE::LoadExact(&device, dir.File("s.dds"), 20, 20);
    o.Anchor = {10.0f, 20.0f};  // the middle of the bottom edge
    o.Position = {1000.0f, 300.0f};

    // Zoom 0.5, the camera on the object: a 10 x 10 picture whose bottom
    // middle is the screen's centre.
    world.CameraTarget = o.Position * 2.0f;
    device.Clear(0xFF000000u);
    o.Render(&sprite, 0.5f);
    EXPECT_EQ(device.ReadPixel(395, 290), 0xFFFF0000u);
    EXPECT_EQ(device.ReadPixel(404, 299), 0xFFFF0000u);
    EXPECT_NE(device.ReadPixel(394, 295), 0xFFFF0000u);
    EXPECT_NE(device.ReadPixel(400, 300), 0xFFFF0000u);
    EXPECT_NE(device.ReadPixel(400, 289), 0xFFFF0000u);

    // The object's own scale grows the picture about the same anchor.
    o.Scale = 2.0f;
    device.Clear(0xFF000000u);
    o.Render(&sprite, 0.5f);
    EXPECT_EQ(device.ReadPixel(390, 280), 0xFFFF0000u);
    EXPECT_EQ(device.ReadPixel(409, 299), 0xFFFF0000u);
    EXPECT_NE(device.ReadPixel(389, 290), 0xFFFF0000u);
    delete o.Sheet;
}

TEST(Sprites, EverySheetAtExactlyItsSize) {
    DEVICE device;
    std::string error;
    ASSERT_TRUE(device.CreateOffscreen(&error)) << error;
    TEMP_DIR dir;
    fs::create_directories(dir.Path() / "textures");
    // Small pictures: the sheets still take the sizes the frames assume.
    const char* files[] = {"hero",      "fx",     "deathray", "bubble", "stuff", "stuff2",
                           "smallhats", "helper", "speech",   "boss1",  "boss2"};
    for (const char* f : files) {
        TEST_SUPPORT::WriteBytes(dir.File(std::string("textures/") + f + ".dds"),
                                 TEST_SUPPORT::MakeDds(4, 4, std::vector<uint32_t>(16, ~0u)));
    }
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    LoadSprites(&device);
    fs::current_path(before);

    struct {
        TEXTURE* Sheet;
        int Width, Height;
    } wanted[] = {{HeroSheet, 832, 148},      {FxSheet, 320, 64},       {DeathRaySheet, 200, 200},
                  {BubbleSheet, 780, 60},     {StuffSheet, 510, 60},    {Stuff2Sheet, 301, 202},
                  {SmallHatsSheet, 640, 128}, {HelperSheet, 400, 200},  {SpeechSheet, 394, 198},
                  {BossSheets[0], 320, 320},  {BossSheets[1], 320, 320}};
    for (const auto& w : wanted) {
        ASSERT_NE(w.Sheet, nullptr);
        EXPECT_EQ(w.Sheet->Width, w.Width);
        EXPECT_EQ(w.Sheet->Height, w.Height);
    }
    EXPECT_EQ(BossSheets[2], nullptr);  // boss3.dds is missing: drawn as nothing
    EXPECT_EQ(BossSheetFile(2), "textures/boss3.dds");
    EXPECT_EQ(FxFrames[0].right, 32);
    EXPECT_EQ(FxFrames[9].left, 288);
    EXPECT_EQ(FxFrames[9].bottom, 32);
    FreeSprites();
    EXPECT_EQ(HeroSheet, nullptr);
}

}  // namespace
