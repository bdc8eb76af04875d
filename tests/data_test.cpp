// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Checks on the baked pictures in the data folder: every file the game loads
// is there at its exact size, sprites keep clear of their neighbours, and the
// pictures that must repeat or mirror do. The files are read here byte by
// byte rather than through the bake's own writers, so a writer fault shows.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/image_file.h"
#include "tools/bake/manifest.h"

namespace {

namespace fs = std::filesystem;

struct WANTED {
    const char* Path;
    int Width;
    int Height;
};

// Every picture the game loads and the size it creates it at.
const WANTED TEXTURES[] = {
    {"textures/tiles.bmp", 640, 192},
    {"textures/bg.jpg", 800, 600},
    {"textures/bg2.jpg", 800, 600},
    {"textures/bg3.jpg", 800, 600},
    {"textures/hero.dds", 832, 148},
    {"textures/fx.dds", 320, 64},
    {"textures/deathray.dds", 200, 200},
    {"textures/bubble.dds", 780, 60},
    {"textures/stuff.dds", 510, 60},
    {"textures/stuff2.dds", 301, 202},
    {"textures/smallhats.dds", 640, 128},
    {"textures/boss1.dds", 320, 320},
    {"textures/boss2.dds", 320, 320},
    {"textures/boss3.dds", 320, 320},
    {"textures/helper.dds", 400, 200},
    {"textures/speech.dds", 394, 198},
    {"textures/intro/intro1.jpg", 431, 600},
    {"textures/intro/intro2.jpg", 800, 600},
    {"textures/intro/intro3.jpg", 800, 600},
    {"textures/intro/intro4.jpg", 800, 600},
    {"textures/intro/intro5.jpg", 678, 600},
    {"textures/intro/text.dds", 617, 145},
    {"textures/intro/mhero.dds", 433, 360},
    {"textures/intro/menu.jpg", 800, 600},
    {"textures/ending/end-bad.jpg", 800, 600},
    {"textures/ending/end-good.jpg", 800, 600},
};

void PrintTo(const WANTED& Wanted, std::ostream* Out) {
    *Out << Wanted.Path;
}

const char* const GROUPS[] = {"characters", "enemies", "scenes"};

const fs::path SOURCE_DIR = VORTIGAN_SOURCE_DIR;
const fs::path DATA_DIR = VORTIGAN_DATA_DIR;

std::vector<uint8_t> ReadBytes(const fs::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

uint32_t Le32(const std::vector<uint8_t>& B, size_t At) {
    return B[At] | B[At + 1] << 8 | B[At + 2] << 16 | uint32_t{B[At + 3]} << 24;
}

// A decoded picture: straight RGBA, top row first.
struct PICTURE {
    int Width = 0;
    int Height = 0;
    std::vector<RGBA> Texels;
    RGBA At(int X, int Y) const { return Texels[static_cast<size_t>(Y) * Width + X]; }
};

// Reads our own DDS layout; fails the test on anything else.
std::optional<PICTURE> ReadDds(const fs::path& Path) {
    const std::vector<uint8_t> B = ReadBytes(Path);
    if (B.size() < 128 || Le32(B, 0) != 0x20534444) {
        ADD_FAILURE() << Path << " is not a DDS file";
        return std::nullopt;
    }
    PICTURE P{static_cast<int>(Le32(B, 16)), static_cast<int>(Le32(B, 12)), {}};
    if (B.size() != 128 + size_t{4} * P.Width * P.Height) {
        ADD_FAILURE() << Path << " holds " << B.size() << " bytes, not 128 + " << P.Width << " x "
                      << P.Height << " x 4";
        return std::nullopt;
    }
    for (size_t i = 128; i < B.size(); i += 4) {
        P.Texels.push_back({B[i + 2], B[i + 1], B[i], B[i + 3]});
    }
    return P;
}

// Reads a 32-bit BMP with bit-field masks, either row order.
std::optional<PICTURE> ReadBmp(const fs::path& Path) {
    const std::vector<uint8_t> B = ReadBytes(Path);
    if (B.size() < 70 || B[0] != 'B' || B[1] != 'M' || (B[28] | B[29] << 8) != 32 ||
        Le32(B, 30) != 3 || Le32(B, 14) < 56) {
        ADD_FAILURE() << Path << " is not a 32-bit BMP with an alpha mask";
        return std::nullopt;
    }
    const int Width = static_cast<int>(Le32(B, 18));
    const int RawHeight = static_cast<int32_t>(Le32(B, 22));
    const int Height = std::abs(RawHeight);
    const size_t Offset = Le32(B, 10);
    if (B.size() < Offset + size_t{4} * Width * Height) {
        ADD_FAILURE() << Path << " is cut short";
        return std::nullopt;
    }
    auto Channel = [&](uint32_t Word, uint32_t Mask) {
        return Mask == 0 ? uint8_t{0}
                         : static_cast<uint8_t>((Word & Mask) >> std::countr_zero(Mask));
    };
    const uint32_t Masks[4] = {Le32(B, 54), Le32(B, 58), Le32(B, 62), Le32(B, 66)};
    PICTURE P{Width, Height, std::vector<RGBA>(static_cast<size_t>(Width) * Height)};
    for (int Row = 0; Row < Height; ++Row) {
        const int Y = RawHeight > 0 ? Height - 1 - Row : Row;
        for (int X = 0; X < Width; ++X) {
            const uint32_t W = Le32(B, Offset + (static_cast<size_t>(Row) * Width + X) * 4);
            P.Texels[static_cast<size_t>(Y) * Width + X] = {
                Channel(W, Masks[0]), Channel(W, Masks[1]), Channel(W, Masks[2]),
                Channel(W, Masks[3])};
        }
    }
    return P;
}

// The frame size in a JPEG's start-of-frame marker.
std::optional<std::pair<int, int>> JpegSize(const fs::path& Path) {
    const std::vector<uint8_t> B = ReadBytes(Path);
    if (B.size() < 4 || B[0] != 0xFF || B[1] != 0xD8) {
        return std::nullopt;
    }
    size_t At = 2;
    while (At + 9 < B.size() && B[At] == 0xFF) {
        const uint8_t Marker = B[At + 1];
        const size_t Length = B[At + 2] << 8 | B[At + 3];
        const bool Sof =
            Marker >= 0xC0 && Marker <= 0xCF && Marker != 0xC4 && Marker != 0xC8 && Marker != 0xCC;
        if (Sof) {
            return std::pair{B[At + 7] << 8 | B[At + 8], B[At + 5] << 8 | B[At + 6]};
        }
        At += 2 + Length;
    }
    return std::nullopt;
}

std::optional<PICTURE> ReadJpeg(const fs::path& Path) {
    IMAGEPIXELS Image;
    std::string Error;
    if (!ReadImageFile(Path.string(), Image, Error)) {
        ADD_FAILURE() << Error;
        return std::nullopt;
    }
    PICTURE P{Image.Width, Image.Height, {}};
    for (size_t i = 0; i < Image.Rgba.size(); i += 4) {
        P.Texels.push_back(
            {Image.Rgba[i], Image.Rgba[i + 1], Image.Rgba[i + 2], Image.Rgba[i + 3]});
    }
    return P;
}

std::optional<PICTURE> ReadPicture(const fs::path& Path) {
    const std::string Extension = Path.extension().string();
    return Extension == ".dds"   ? ReadDds(Path)
           : Extension == ".bmp" ? ReadBmp(Path)
                                 : ReadJpeg(Path);
}

// All manifests, read once. A manifest that does not parse fails every test.
const std::vector<TEXTUREPLAN>& Plans() {
    static const std::vector<TEXTUREPLAN> All = [] {
        try {
            return ReadAllManifests(FindManifests(SOURCE_DIR / "assets"));
        } catch (const BAKEERROR& Error) {
            ADD_FAILURE() << Error.what();
            return std::vector<TEXTUREPLAN>{};
        }
    }();
    return All;
}

const TEXTUREPLAN* FindPlan(const std::string& OutPath) {
    for (const TEXTUREPLAN& Plan : Plans()) {
        if (Plan.OutPath == OutPath) {
            return &Plan;
        }
    }
    return nullptr;
}

std::string MissingGroups() {
    std::string Missing;
    for (const char* Group : GROUPS) {
        if (!fs::exists(SOURCE_DIR / "assets/art" / Group / "manifest.txt")) {
            Missing += std::string(Missing.empty() ? "" : ", ") + Group;
        }
    }
    return Missing;
}

// The plan of the texture, or null after skipping (its manifest is not
// written yet) or failing (every manifest is there and none makes it).
const TEXTUREPLAN* PlanOrSkip(const WANTED& Wanted, std::string& SkipReason) {
    const TEXTUREPLAN* Plan = FindPlan(Wanted.Path);
    if (Plan == nullptr) {
        const std::string Missing = MissingGroups();
        if (!Missing.empty()) {
            SkipReason = std::string(Wanted.Path) + ": no manifest yet (missing: " + Missing + ")";
        } else {
            ADD_FAILURE() << "no manifest makes " << Wanted.Path;
        }
    }
    return Plan;
}

#define PLAN_OR_SKIP(Wanted)                                  \
    std::string SkipReason;                                   \
    const TEXTUREPLAN* Plan = PlanOrSkip(Wanted, SkipReason); \
    if (!SkipReason.empty()) {                                \
        GTEST_SKIP() << SkipReason;                           \
    }                                                         \
    if (Plan == nullptr) {                                    \
        return;                                               \
    }

class BAKEDTEXTURE : public testing::TestWithParam<WANTED> {};

TEST_P(BAKEDTEXTURE, ExistsAtItsSizeWithACorrectHeader) {
    const WANTED& Wanted = GetParam();
    PLAN_OR_SKIP(Wanted);
    EXPECT_EQ(Plan->Width, Wanted.Width) << Plan->Manifest << ":" << Plan->Line;
    EXPECT_EQ(Plan->Height, Wanted.Height) << Plan->Manifest << ":" << Plan->Line;
    const fs::path Path = DATA_DIR / Wanted.Path;
    ASSERT_TRUE(fs::exists(Path)) << Path << " was not baked";
    const std::string Extension = Path.extension().string();
    if (Extension == ".jpg") {
        auto Size = JpegSize(Path);
        ASSERT_TRUE(Size) << Path << " has no JPEG frame header";
        EXPECT_EQ(Size->first, Wanted.Width);
        EXPECT_EQ(Size->second, Wanted.Height);
        return;
    }
    if (Extension == ".bmp") {
        auto Picture = ReadBmp(Path);
        ASSERT_TRUE(Picture);
        EXPECT_EQ(Picture->Width, Wanted.Width);
        EXPECT_EQ(Picture->Height, Wanted.Height);
        // The game loads it through SDL_image, which must keep the alpha.
        IMAGEPIXELS Loaded;
        std::string Error;
        ASSERT_TRUE(ReadImageFile(Path.string(), Loaded, Error)) << Error;
        ASSERT_EQ(Loaded.Rgba.size(), Picture->Texels.size() * 4);
        for (size_t i = 0; i < Picture->Texels.size(); ++i) {
            ASSERT_EQ(Loaded.Rgba[i * 4 + 3], Picture->Texels[i].A) << "alpha lost at texel " << i;
        }
        return;
    }
    const std::vector<uint8_t> B = ReadBytes(Path);
    ASSERT_GE(B.size(), 128u);
    EXPECT_EQ(Le32(B, 0), 0x20534444u) << "magic";
    EXPECT_EQ(Le32(B, 4), 124u) << "header size";
    EXPECT_EQ(Le32(B, 8), 0x100Fu) << "CAPS | HEIGHT | WIDTH | PITCH | PIXELFORMAT";
    EXPECT_EQ(Le32(B, 12), static_cast<uint32_t>(Wanted.Height));
    EXPECT_EQ(Le32(B, 16), static_cast<uint32_t>(Wanted.Width));
    EXPECT_EQ(Le32(B, 20), static_cast<uint32_t>(Wanted.Width * 4)) << "pitch";
    EXPECT_EQ(Le32(B, 76), 32u) << "pixel format size";
    EXPECT_EQ(Le32(B, 80), 0x41u) << "RGB | ALPHAPIXELS";
    EXPECT_EQ(Le32(B, 84), 0u) << "no FourCC";
    EXPECT_EQ(Le32(B, 88), 32u) << "bits a texel";
    EXPECT_EQ(Le32(B, 92), 0x00FF0000u) << "red mask";
    EXPECT_EQ(Le32(B, 96), 0x0000FF00u) << "green mask";
    EXPECT_EQ(Le32(B, 100), 0x000000FFu) << "blue mask";
    EXPECT_EQ(Le32(B, 104), 0xFF000000u) << "alpha mask";
    EXPECT_EQ(Le32(B, 108), 0x1000u) << "caps";
    EXPECT_EQ(B.size(), 128u + 4u * Wanted.Width * Wanted.Height);
}

// Sprites keep a clear ring, and nothing shows where no rectangle is.
TEST_P(BAKEDTEXTURE, SpritesStayInsideTheirRectangles) {
    const WANTED& Wanted = GetParam();
    PLAN_OR_SKIP(Wanted);
    if (Plan->Format == IMAGEFORMAT::JPG) {
        return;  // no alpha to check
    }
    auto Picture = ReadPicture(DATA_DIR / Wanted.Path);
    ASSERT_TRUE(Picture);
    ASSERT_EQ(Picture->Width, Plan->Width);
    ASSERT_EQ(Picture->Height, Plan->Height);
    std::vector<bool> Covered(Picture->Texels.size(), false);
    auto Cover = [&](const RECT& R) {
        for (int Y = R.Top; Y < R.Bottom; ++Y) {
            std::fill_n(Covered.begin() + static_cast<ptrdiff_t>(Y) * Picture->Width + R.Left,
                        R.Width(), true);
        }
    };
    for (const STEP& Step : Plan->Steps) {
        Cover(Step.Kind == STEPKIND::MIRROR ? Step.Dest() : Step.Area);
        if (Step.Kind != STEPKIND::PLACE || Step.Edge) {
            continue;
        }
        const RECT& R = Step.Area;
        int Bad = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y) {
            for (int X = R.Left; X < R.Right; ++X) {
                const bool Ring =
                    Y == R.Top || Y == R.Bottom - 1 || X == R.Left || X == R.Right - 1;
                if (Ring && Picture->At(X, Y).A > 8 && Bad++ < 3) {
                    ADD_FAILURE() << Wanted.Path << ": " << Step.SvgName << " ("
                                  << Plan->Manifest.filename().string() << ":" << Step.Line
                                  << ") shows alpha " << int{Picture->At(X, Y).A}
                                  << " on its border ring at (" << X << ", " << Y << ")";
                }
            }
        }
    }
    int Bad = 0;
    for (int Y = 0; Y < Picture->Height; ++Y) {
        for (int X = 0; X < Picture->Width; ++X) {
            if (!Covered[static_cast<size_t>(Y) * Picture->Width + X] && Picture->At(X, Y).A != 0 &&
                Bad++ < 3) {
                ADD_FAILURE() << Wanted.Path << ": texel (" << X << ", " << Y
                              << ") lies in no rectangle but has alpha "
                              << int{Picture->At(X, Y).A};
            }
        }
    }
}

// Every texture a manifest makes is one the game loads (a misspelt output
// path would leave the game's picture missing).
TEST(BAKEDTEXTURES, ManifestsMakeOnlyPicturesTheGameLoads) {
    for (const TEXTUREPLAN& Plan : Plans()) {
        EXPECT_TRUE(std::any_of(std::begin(TEXTURES), std::end(TEXTURES),
                                [&](const WANTED& W) { return Plan.OutPath == W.Path; }))
            << Plan.Manifest << ":" << Plan.Line << ": " << Plan.OutPath
            << " is not a picture the game loads";
    }
}

std::string ParamName(const testing::TestParamInfo<WANTED>& Info) {
    std::string Name = std::string(Info.param.Path).substr(9);  // after "textures/"
    std::replace_if(
        Name.begin(), Name.end(), [](unsigned char C) { return !std::isalnum(C); }, '_');
    return Name;
}

INSTANTIATE_TEST_SUITE_P(DATA, BAKEDTEXTURE, testing::ValuesIn(TEXTURES), ParamName);

std::optional<PICTURE> ReadWanted(const char* Path, std::string& SkipReason) {
    const WANTED* Wanted =
        std::find_if(std::begin(TEXTURES), std::end(TEXTURES),
                     [&](const WANTED& W) { return std::string(W.Path) == Path; });
    if (PlanOrSkip(*Wanted, SkipReason) == nullptr || !fs::exists(DATA_DIR / Path)) {
        return std::nullopt;  // skipped, or failed by the tests above
    }
    return ReadPicture(DATA_DIR / Path);
}

#define READ_OR_SKIP(Name, Path)                                \
    std::string SkipReason;                                     \
    std::optional<PICTURE> Name = ReadWanted(Path, SkipReason); \
    if (!SkipReason.empty()) {                                  \
        GTEST_SKIP() << SkipReason;                             \
    }                                                           \
    ASSERT_TRUE(Name) << Path;

TEST(BAKEDTEXTURES, HeroRowOneMirrorsRowZeroFrameByFrame) {
    READ_OR_SKIP(Hero, "textures/hero.dds");
    for (int Frame = 0; Frame < 13; ++Frame) {
        int Bad = 0;
        for (int Y = 0; Y < 74 && Bad < 3; ++Y) {
            for (int X = 0; X < 64 && Bad < 3; ++X) {
                if (!(Hero->At(Frame * 64 + X, 74 + Y) == Hero->At(Frame * 64 + 63 - X, Y))) {
                    ADD_FAILURE() << "hero frame " << Frame << ": (" << X << ", " << Y
                                  << ") of the left-facing row is not the mirror of the right";
                    ++Bad;
                }
            }
        }
    }
}

// Mean absolute difference per colour channel between two lines of texels,
// alpha-weighted so that transparent texels count as black.
double LineDifference(const PICTURE& P, int X0, int Y0, int X1, int Y1, int DX, int DY, int N) {
    double Sum = 0;
    for (int i = 0; i < N; ++i) {
        const RGBA A = P.At(X0 + i * DX, Y0 + i * DY);
        const RGBA B = P.At(X1 + i * DX, Y1 + i * DY);
        Sum += std::abs(A.R * A.A - B.R * B.A) + std::abs(A.G * A.A - B.G * B.A) +
               std::abs(A.B * A.A - B.B * B.A);
    }
    return Sum / (3.0 * 255 * N);
}

class BACKDROP : public testing::TestWithParam<const char*> {};

TEST_P(BACKDROP, EdgesMeetWhenDrawnSideBySide) {
    READ_OR_SKIP(Background, GetParam());
    EXPECT_LE(LineDifference(*Background, 0, 0, Background->Width - 1, 0, 0, 1, Background->Height),
              12.0)
        << "left and right edge columns differ";
}

INSTANTIATE_TEST_SUITE_P(
    BAKEDTEXTURES, BACKDROP,
    testing::Values("textures/bg.jpg", "textures/bg2.jpg", "textures/bg3.jpg"),
    [](const testing::TestParamInfo<const char*>& Info) {
        return std::string(Info.param).substr(9, Info.index == 0 ? 2 : 3);  // bg, bg2, bg3
    });

TEST(BAKEDTEXTURES, DeathRayRepeatsFromTopToBottom) {
    READ_OR_SKIP(Ray, "textures/deathray.dds");
    EXPECT_LE(LineDifference(*Ray, 0, 0, 0, Ray->Height - 1, 1, 0, Ray->Width), 12.0)
        << "top and bottom rows differ";
}

// Brightness of a texel, 0..255.
int Luma(RGBA C) {
    return (C.R * 299 + C.G * 587 + C.B * 114) / 1000;
}

// Texels of a rectangle whose alpha is at least MinAlpha.
int CountShowing(const PICTURE& P, RECT R, int MinAlpha) {
    int Count = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
        for (int X = R.Left; X < R.Right; ++X) {
            Count += P.At(X, Y).A >= MinAlpha;
        }
    }
    return Count;
}

// Texels where two same-sized rectangles differ in alpha by more than Limit.
int AlphaMismatches(const PICTURE& P, RECT A, int BLeft, int BTop, int Limit) {
    int Count = 0;
    for (int Y = 0; Y < A.Height(); ++Y) {
        for (int X = 0; X < A.Width(); ++X) {
            Count += std::abs(P.At(A.Left + X, A.Top + Y).A - P.At(BLeft + X, BTop + Y).A) > Limit;
        }
    }
    return Count;
}

// The game shows the empty part of a gauge from the top and the full part
// below it, so the two pictures of each gauge must share one outline.
TEST(BAKEDTEXTURES, GaugeHalvesShareTheirOutline) {
    READ_OR_SKIP(Stuff, "textures/stuff.dds");
    const RECT HeroFull{0, 0, 50, 60};
    EXPECT_GT(CountShowing(*Stuff, HeroFull, 255), 50 * 60 / 4) << "the health gauge is drawn";
    EXPECT_LE(AlphaMismatches(*Stuff, HeroFull, 100, 0, 40), 20)
        << "full and empty health gauges differ in shape";
    for (int Kind = 0; Kind < 3; ++Kind) {
        const RECT Healthy{150 + 60 * Kind, 0, 210 + 60 * Kind, 60};
        EXPECT_GT(CountShowing(*Stuff, Healthy, 255), 60 * 60 / 4) << "boss gauge " << Kind;
        // The damaged faces may droop a brow or tip a hat, but not change shape.
        EXPECT_LE(AlphaMismatches(*Stuff, Healthy, 330 + 60 * Kind, 0, 40), 60 * 60 / 12)
            << "boss gauge " << Kind << " changes shape when damaged";
    }
}

// The cursor's hot spot is the picture's top-left corner, so the tip must be
// drawn right there, not somewhere in the middle of the cell.
TEST(BAKEDTEXTURES, CursorTipSitsAtTheTopLeft) {
    READ_OR_SKIP(Stuff, "textures/stuff.dds");
    EXPECT_GT(CountShowing(*Stuff, {50, 0, 56, 6}, 200), 3) << "no tip near (50, 0)";
    EXPECT_GT(CountShowing(*Stuff, {50, 0, 100, 60}, 255), 200) << "the cursor is drawn";
}

// Bink's mouth pictures are laid over his face at (86, 116): each must be
// opaque in the middle to hide the closed mouth under it, and his face must
// be there to be covered.
TEST(BAKEDTEXTURES, BinksMouthsCoverHisMouth) {
    READ_OR_SKIP(Helper, "textures/helper.dds");
    EXPECT_EQ(CountShowing(*Helper, {88, 118, 116, 133}, 255), 28 * 15) << "face under the mouth";
    for (int Left : {249, 284, 319}) {
        EXPECT_EQ(CountShowing(*Helper, {Left + 2, 94, Left + 30, 109}, 255), 28 * 15)
            << "mouth picture at x = " << Left << " has holes";
        // A mouth picture is more than a patch of skin: something dark is drawn in it.
        int Dark = 0;
        for (int Y = 92; Y < 111; ++Y) {
            for (int X = Left; X < Left + 32; ++X) {
                Dark += Helper->At(X, Y).A == 255 && Luma(Helper->At(X, Y)) < 90;
            }
        }
        EXPECT_GT(Dark, 20) << "mouth picture at x = " << Left << " shows no mouth";
    }
    EXPECT_GT(CountShowing(*Helper, {240, 0, 352, 78}, 255), 112 * 78 / 4) << "the final outfit";
}

// The speech text is written in black from x = 50, rows 30 to 180, of the
// bubble; there it must be solid and light.
TEST(BAKEDTEXTURES, SpeechBubbleIsLightWhereTheTextGoes) {
    READ_OR_SKIP(Bubble, "textures/speech.dds");
    int Bad = 0;
    for (int Y = 30; Y < 180; ++Y) {
        for (int X = 50; X < 370; ++X) {
            const RGBA C = Bubble->At(X, Y);
            if ((C.A != 255 || Luma(C) < 200) && Bad++ < 3) {
                ADD_FAILURE() << "bubble texel (" << X << ", " << Y << ") is not solid and light";
            }
        }
    }
    EXPECT_GT(CountShowing(*Bubble, {0, 100, 28, 160}, 255), 50) << "no tail pointing left";
}

TEST(BAKEDTEXTURES, DeathRayIsCentredOnItsMiddleColumn) {
    READ_OR_SKIP(Ray, "textures/deathray.dds");
    for (int Y = 0; Y < Ray->Height; Y += 10) {
        ASSERT_GT(Ray->At(100, Y).A, 200) << "beam core missing at row " << Y;
        ASSERT_LT(Ray->At(0, Y).A, 8) << "glow reaches the left edge at row " << Y;
        ASSERT_LT(Ray->At(199, Y).A, 8) << "glow reaches the right edge at row " << Y;
    }
    double Left = 0;
    double Right = 0;
    for (int Y = 0; Y < Ray->Height; ++Y) {
        for (int X = 0; X < 100; ++X) {
            Left += Ray->At(X, Y).A;
            Right += Ray->At(199 - X, Y).A;
        }
    }
    EXPECT_NEAR(Left / Right, 1.0, 0.15) << "the beam leans to one side";
}

// Each caption strip carries light letters in a dark outline.
TEST(BAKEDTEXTURES, IntroCaptionsFillTheirStrips) {
    READ_OR_SKIP(Text, "textures/intro/text.dds");
    const int Rows[] = {0, 23, 76, 122, 145};
    for (int Strip = 0; Strip < 4; ++Strip) {
        int Light = 0;
        int Dark = 0;
        for (int Y = Rows[Strip]; Y < Rows[Strip + 1]; ++Y) {
            for (int X = 0; X < Text->Width; ++X) {
                const RGBA C = Text->At(X, Y);
                if (C.A == 255) {
                    Light += Luma(C) > 200;
                    Dark += Luma(C) < 60;
                }
            }
        }
        EXPECT_GT(Light, 400) << "caption " << Strip + 1 << " has no light letters";
        EXPECT_GT(Dark, 400) << "caption " << Strip + 1 << " has no dark outline";
    }
}

TEST(BAKEDTEXTURES, FadeTexelsAreOpaqueBlackAndDeepRed) {
    READ_OR_SKIP(Stuff, "textures/stuff2.dds");
    const RGBA Usual = Stuff->At(138, 127);
    const RGBA Last = Stuff->At(135, 127);
    EXPECT_EQ(Usual.A, 255);
    EXPECT_LE(std::max({Usual.R, Usual.G, Usual.B}), 16) << "the ordinary fade is black";
    EXPECT_EQ(Last.A, 255);
    EXPECT_TRUE(Last.R >= 64 && Last.G * 3 <= Last.R && Last.B * 3 <= Last.R)
        << "the last-life fade is a deep red, got " << int{Last.R} << ", " << int{Last.G} << ", "
        << int{Last.B};
}

}  // namespace
