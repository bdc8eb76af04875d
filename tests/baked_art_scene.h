// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "objects/sprites.h"
#include "platform/device.h"
#include "platform/texture.h"
#include "tests/test_support.h"
#include "world/world.h"

// The baked art on an offscreen screen, over a strip of floor (rows 8 and
// 9) in a world 100 tiles wide: the scene the cast pictures are drawn in and
// written to PNGs for a person to look at.
class BAKED_ART_SCENE : public ::testing::Test {
protected:
    // Skips the test when `sheet` was not baked; the floor runs from column
    // `floorFrom` to 19.
    void OpenScene(const char* sheet, int floorFrom) {
        std::filesystem::path data = VORTIGAN_DATA_DIR;
        if (!std::filesystem::exists(data / sheet)) {
            GTEST_SKIP() << "no baked art in " << data;
        }
        std::string error;
        ASSERT_TRUE(Device.CreateOffscreen(&error)) << error;
        std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(data);  // the game reads its data relatively
        LoadSprites(&Device);
        World = new WORLD(&Device);
        std::filesystem::current_path(previous);
        World->Width = 100;
        World->Height = MAP_ROWS;
        for (int c = floorFrom; c < 20; ++c) {
            World->SetTile(c, 8, 2);
            World->SetTile(c, 9, 12);
        }
    }
    void TearDown() override {
        delete World;
        for (TEXTURE** sheet : {&HeroSheet, &FxSheet, &DeathRaySheet, &BubbleSheet, &StuffSheet,
                                &Stuff2Sheet, &SmallHatsSheet, &HelperSheet, &SpeechSheet,
                                &BossSheets[0], &BossSheets[1], &BossSheets[2]}) {
            delete *sheet;
            *sheet = nullptr;
        }
        Device.Destroy();
    }

    // Over the scenery, or over plain black.
    void Draw(const std::vector<OBJECT*>& cast, float zoom, bool scenery = true) {
        ASSERT_TRUE(TEST_SUPPORT::DrawCast(Device, scenery ? World : nullptr, cast, zoom));
    }

    // Where a picture goes: CAST_PICTURE_DIR, else the system's temporary folder.
    static std::string PicturePath(const std::string& name) {
        const char* dir = std::getenv("CAST_PICTURE_DIR");
        std::filesystem::path folder = dir ? dir : std::filesystem::temp_directory_path();
        return (folder / name).string();
    }

    DEVICE Device;
    WORLD* World = nullptr;
};
