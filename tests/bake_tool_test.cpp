// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The art bake's own pieces: colour arithmetic, mirroring, manifest errors,
// the file writers, SVG rendering and a whole bake of a tiny art folder.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "platform/image_file.h"
#include "tools/bake/bake.h"
#include "tools/bake/canvas.h"
#include "tools/bake/encode.h"
#include "tools/bake/manifest.h"
#include "tools/bake/svg_render.h"

namespace {

namespace fs = std::filesystem;

// Premultiplies the way cairo stores a colour.
uint32_t Premultiplied(RGBA C) {
    auto Scale = [&](uint8_t V) { return static_cast<uint32_t>((V * C.A + 127) / 255); };
    return uint32_t{C.A} << 24 | Scale(C.R) << 16 | Scale(C.G) << 8 | Scale(C.B);
}

TEST(BAKECOLOUR, UnpremultiplyRecoversStraightColour) {
    EXPECT_EQ(Unpremultiply(0x00000000), (RGBA{0, 0, 0, 0}));
    EXPECT_EQ(Unpremultiply(0xFF123456), (RGBA{0x12, 0x34, 0x56, 0xFF}));
    // Half-transparent white is stored as 0x80808080 and must come back white.
    EXPECT_EQ(Unpremultiply(0x80808080), (RGBA{255, 255, 255, 128}));
    // A colour above its alpha is not valid premultiplied data; clamp it.
    EXPECT_EQ(Unpremultiply(0x10FF0000).R, 255);
    for (int A = 1; A < 256; ++A) {
        for (int C = 0; C < 256; C += 5) {
            const RGBA Straight{static_cast<uint8_t>(C), 0, static_cast<uint8_t>(255 - C),
                                static_cast<uint8_t>(A)};
            const RGBA Back = Unpremultiply(Premultiplied(Straight));
            ASSERT_EQ(Back.A, A);
            ASSERT_LE(std::abs(Back.R - C), 127.5 / A + 1) << "alpha " << A << " colour " << C;
            ASSERT_LE(std::abs(Back.B - (255 - C)), 127.5 / A + 1);
        }
    }
}

TEST(BAKECOLOUR, OverCompositesStraightColour) {
    const RGBA Black{0, 0, 0, 255};
    EXPECT_EQ(Over(Premultiplied({10, 20, 30, 255}), Black), (RGBA{10, 20, 30, 255}));
    const uint32_t Faint = Premultiplied({10, 20, 30, 40});
    EXPECT_EQ(Over(Faint, RGBA{}), Unpremultiply(Faint));
    const RGBA Grey = Over(Premultiplied({255, 255, 255, 128}), Black);
    EXPECT_EQ(Grey.A, 255);
    EXPECT_NEAR(Grey.R, 128, 1);
    // Half red over half blue: alpha 0.75, two thirds red, one third blue.
    const RGBA Mix = Over(Premultiplied({255, 0, 0, 128}), RGBA{0, 0, 255, 128});
    EXPECT_NEAR(Mix.A, 192, 1);
    EXPECT_NEAR(Mix.R, 170, 2);
    EXPECT_NEAR(Mix.B, 85, 2);
}

// A 4 x 2 canvas whose texels say where they are.
CANVAS Numbered() {
    CANVAS Canvas(4, 2);
    for (int Y = 0; Y < 2; ++Y) {
        for (int X = 0; X < 4; ++X) {
            Canvas.Set(X, Y, {static_cast<uint8_t>(X), static_cast<uint8_t>(Y), 0, 255});
        }
    }
    return Canvas;
}

TEST(BAKECANVAS, MirrorFlipsLeftToRightEvenOntoItself) {
    CANVAS Apart = Numbered();
    Apart.Mirror({0, 0, 2, 1}, 2, 1);  // row 0, columns 0-1 to row 1, columns 2-3
    EXPECT_EQ(Apart.At(2, 1).R, 1);
    EXPECT_EQ(Apart.At(3, 1).R, 0);
    EXPECT_EQ(Apart.At(2, 1).G, 0);  // rows are kept, only columns swap

    CANVAS Self = Numbered();
    Self.Mirror({0, 0, 4, 2}, 0, 0);
    for (int X = 0; X < 4; ++X) {
        EXPECT_EQ(Self.At(X, 0).R, 3 - X);
        EXPECT_EQ(Self.At(X, 1).R, 3 - X);
        EXPECT_EQ(Self.At(X, 1).G, 1);
    }
}

TEST(BAKECANVAS, DrawingIsCutAtTheCanvasEdge) {
    CANVAS Canvas(2, 2);
    const uint32_t Words[3] = {0xFF0000FF, 0xFF00FF00, 0xFFFF0000};
    Canvas.DrawPremultiplied(reinterpret_cast<const uint8_t*>(Words), 12, 3, 1, 1, 1);
    EXPECT_EQ(Canvas.At(1, 1), (RGBA{0, 0, 255, 255}));
    EXPECT_EQ(Canvas.At(0, 1), RGBA{});
    EXPECT_EQ(Canvas.At(1, 0), RGBA{});
}

TEST(BAKEMANIFEST, ReadsDirectivesColoursAndComments) {
    const auto Plans = ParseManifest(
        "# sheet\n"
        "texture textures/a.dds 100 50 dds   # trailing comment\n"
        "fill #102030 # colour, then a comment\n"
        "place hero.svg 0 0 50 50 edge\n"
        "mirror 0 0 50 50 50 0\n"
        "texel 99 49 #FF000080\n",
        "art/x/manifest.txt");
    ASSERT_EQ(Plans.size(), 1u);
    const TEXTUREPLAN& P = Plans[0];
    EXPECT_EQ(P.OutPath, "textures/a.dds");
    ASSERT_EQ(P.Steps.size(), 4u);
    EXPECT_EQ(P.Steps[0].Colour, (RGBA{0x10, 0x20, 0x30, 0xFF}));
    EXPECT_EQ(P.Steps[1].Svg, fs::path("art/x/hero.svg"));
    EXPECT_TRUE(P.Steps[1].Edge);
    EXPECT_EQ(P.Steps[2].Dest(), (RECT{50, 0, 100, 50}));
    EXPECT_EQ(P.Steps[3].Colour, (RGBA{0xFF, 0, 0, 0x80}));
    EXPECT_EQ(P.Steps[3].Line, 6);
}

TEST(BAKEMANIFEST, BadLinesNameFileAndLine) {
    const std::string Head = "texture textures/a.dds 100 50 dds\n";
    const struct {
        std::string Line;
        const char* Says;
    } CASES[] = {
        {"plaice a.svg 0 0 10 10", "unknown directive"},
        {"place a.svg 0 0 10", "expected 'place"},
        {"place a.svg 0 0 10 1O", "not a whole number"},
        {"place a.svg 0 0 101 10", "outside"},
        {"place a.svg 10 0 10 10", "empty"},
        {"place a.svg 0 0 10 10 egde", "expected 'edge'"},
        {"fill #12345", "#RRGGBB"},
        {"fill #12345G", "hexadecimal"},
        {"texel 100 0 #000000FF", "outside"},
        {"mirror 0 0 10 10 95 0", "outside"},
        {"mirror 0 0 10 10 2147483647 0", "outside"},
        {"texture textures/b.png 10 10 dds", "does not end in .dds"},
        {"texture ../b.dds 10 10 dds", "must not contain"},
        {"texture /tmp/b.dds 10 10 dds", "relative"},
        {"texture textures/b.dds 0 10 dds", "not within"},
        {"texture textures/b.dds 10 10 tga", "format"},
    };
    for (const auto& Case : CASES) {
        try {
            ParseManifest(Head + "\n" + Case.Line + "\n", "art/x/manifest.txt");
            ADD_FAILURE() << "accepted: " << Case.Line;
        } catch (const BAKEERROR& Error) {
            const std::string Message = Error.what();
            EXPECT_EQ(Message.rfind("art/x/manifest.txt:3: ", 0), 0u) << Message;
            EXPECT_NE(Message.find(Case.Says), std::string::npos) << Message;
        }
    }
    EXPECT_THROW(ParseManifest("fill #000000\n", "m"), BAKEERROR);  // before any texture
}

// A scratch folder for one test, removed afterwards.
class BAKEFILES : public testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() /
              ("vortigan-bake-" + std::to_string(getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    void Write(const fs::path& Relative, const std::string& Text) {
        fs::create_directories((Dir / Relative).parent_path());
        std::ofstream(Dir / Relative) << Text;
    }
    std::string Read(const fs::path& Path) {
        std::ifstream In(Path, std::ios::binary);
        return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
    }
    int Bake(const fs::path& Out, std::string* Messages = nullptr) {
        std::ostringstream Log;
        const int Status = RunBake({Dir / "assets", Out, {}, 2}, Log);
        if (Messages != nullptr) {
            *Messages = Log.str();
        }
        return Status;
    }

    fs::path Dir;
};

const char* const SQUARE_SVG =
    "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
    "<rect x='-5' y='0' width='10' height='10' fill='#ff0000' fill-opacity='0.5'/></svg>";

TEST_F(BAKEFILES, SvgIsStretchedToItsRectangleAndCutAtItsFrame) {
    Write("square.svg", SQUARE_SVG);
    std::string Note;
    const PREMULTIPLIEDIMAGE Image = RenderSvg(Dir / "square.svg", 20, 10, &Note);
    EXPECT_NE(Note.find("stretched"), std::string::npos);
    auto Word = [&](int X, int Y) {
        return *reinterpret_cast<const uint32_t*>(&Image.Data[Y * Image.Stride + X * 4]);
    };
    EXPECT_EQ(Unpremultiply(Word(0, 5)), (RGBA{255, 0, 0, 128}));
    EXPECT_EQ(Unpremultiply(Word(9, 5)), (RGBA{255, 0, 0, 128}));
    EXPECT_EQ(Word(10, 5), 0u);  // the rectangle's right half reaches x = 5 of 10 only
    EXPECT_THROW(RenderSvg(Dir / "absent.svg", 4, 4, nullptr), BAKEERROR);
}

TEST_F(BAKEFILES, WrittenPicturesReadBackWithTheirAlpha) {
    CANVAS Canvas(3, 2);
    Canvas.Set(0, 0, {200, 100, 50, 128});
    Canvas.Set(2, 1, {1, 2, 3, 255});
    const std::vector<uint8_t> Dds = EncodeDds(Canvas);
    ASSERT_EQ(Dds.size(), 128u + 3 * 2 * 4);
    EXPECT_EQ(std::vector<uint8_t>(Dds.begin() + 128, Dds.begin() + 132),
              (std::vector<uint8_t>{50, 100, 200, 128}));  // top-left first, straight BGRA

    // SDL_image reads the BMP the way the game does; the alpha must survive.
    WriteFileBytes(Dir / "t.bmp", EncodeBmp(Canvas));
    IMAGEPIXELS Bmp;
    std::string Error;
    ASSERT_TRUE(ReadImageFile((Dir / "t.bmp").string(), Bmp, Error)) << Error;
    ASSERT_EQ(Bmp.Width, 3);
    ASSERT_EQ(Bmp.Height, 2);
    EXPECT_EQ(std::vector<uint8_t>(Bmp.Rgba.begin(), Bmp.Rgba.begin() + 4),
              (std::vector<uint8_t>{200, 100, 50, 128}));
    EXPECT_EQ(std::vector<uint8_t>(Bmp.Rgba.end() - 4, Bmp.Rgba.end()),
              (std::vector<uint8_t>{1, 2, 3, 255}));
    EXPECT_EQ(Bmp.Rgba[7], 0);  // untouched texels stay transparent

    CANVAS Photo(16, 8);
    Photo.Fill({40, 160, 220, 255});
    size_t NotOpaque = 99;
    WriteJpeg(Dir / "p.jpg", Photo, 92, &NotOpaque);
    EXPECT_EQ(NotOpaque, 0u);
    IMAGEPIXELS Jpeg;
    ASSERT_TRUE(ReadImageFile((Dir / "p.jpg").string(), Jpeg, Error)) << Error;
    EXPECT_EQ(Jpeg.Width, 16);
    EXPECT_NEAR(Jpeg.Rgba[1], 160, 4);
    EXPECT_FALSE(fs::exists(Dir / "p.jpg.part"));
}

TEST_F(BAKEFILES, BakeIsRepeatableAndFailsLoudly) {
    Write("assets/art/a/square.svg", SQUARE_SVG);
    Write("assets/art/a/manifest.txt",
          "texture textures/s.dds 30 10 dds\n"
          "place square.svg 0 0 10 10\n"
          "mirror 0 0 10 10 20 0\n"
          "texture textures/s.jpg 12 12 jpg\n"
          "fill #336699\n");
    std::string Messages;
    ASSERT_EQ(Bake(Dir / "one", &Messages), 0) << Messages;
    EXPECT_NE(Messages.find("manifest.txt:2: square.svg reaches the outer pixel ring"),
              std::string::npos)
        << Messages;
    ASSERT_EQ(Bake(Dir / "two"), 0);
    for (const char* File : {"textures/s.dds", "textures/s.jpg"}) {
        const std::string First = Read(Dir / "one" / File);
        EXPECT_FALSE(First.empty()) << File;
        EXPECT_EQ(First, Read(Dir / "two" / File)) << File << " differs between two bakes";
    }

    // A second group may not make the same file again.
    Write("assets/art/b/manifest.txt", "texture textures/s.dds 4 4 dds\n");
    EXPECT_EQ(Bake(Dir / "three", &Messages), 1);
    EXPECT_NE(Messages.find("b/manifest.txt:1: texture textures/s.dds is already made by"),
              std::string::npos)
        << Messages;

    Write("assets/art/b/manifest.txt", "texture textures/t.dds 4 4 dds\nplace gone.svg 0 0 4 4\n");
    EXPECT_EQ(Bake(Dir / "three", &Messages), 1);
    EXPECT_NE(Messages.find("b/manifest.txt:2: "), std::string::npos) << Messages;
    EXPECT_NE(Messages.find("gone.svg: no such SVG file"), std::string::npos) << Messages;

#ifdef VORTIGAN_BAKE_EXE
    // The program itself: a bad manifest line is exit status 1, a bad
    // command line 2.
    Write("assets/art/b/manifest.txt", "texture textures/t.dds 4 4 dds\nfill red\n");
    const std::string Command = std::string(VORTIGAN_BAKE_EXE) + " --assets " +
                                (Dir / "assets").string() + " --out " + (Dir / "four").string() +
                                " 2> " + (Dir / "log").string();
    EXPECT_EQ(WEXITSTATUS(std::system(Command.c_str())), 1);
    EXPECT_NE(Read(Dir / "log").find("b/manifest.txt:2: colour 'red'"), std::string::npos)
        << Read(Dir / "log");
    const std::string NoOut = std::string(VORTIGAN_BAKE_EXE) + " --assets x 2> /dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(NoOut.c_str())), 2);
#endif
}

}  // namespace
