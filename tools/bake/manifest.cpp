// SPDX-FileCopyrightText: 2026 The Vortigan developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tools/bake/manifest.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// A manifest line split into blank-separated fields, comment removed. A
// colour is written "#RRGGBB" too, so a '#' field only starts a comment where
// the directive does not expect a colour.
std::vector<std::string> SplitFields(const std::string& Line) {
    std::vector<std::string> Fields;
    std::istringstream In(Line);
    std::string Field;
    while (In >> Field) {
        const size_t Index = Fields.size();
        const bool ColourSlot = Index > 0 && ((Fields[0] == "fill" && Index == 1) ||
                                              (Fields[0] == "texel" && Index == 3));
        if (Field.front() == '#' && !ColourSlot) {
            break;
        }
        Fields.push_back(Field);
    }
    return Fields;
}

class LINEPARSER {
public:
    LINEPARSER(const std::filesystem::path& Manifest, int Line) : Manifest(Manifest), Line(Line) {}

    [[noreturn]] void Fail(const std::string& Message) const {
        throw BAKEERROR(Manifest.string() + ":" + std::to_string(Line) + ": " + Message);
    }

    int Integer(const std::string& Field, const char* What) const {
        int Value = 0;
        auto [End, Error] = std::from_chars(Field.data(), Field.data() + Field.size(), Value);
        if (Error != std::errc() || End != Field.data() + Field.size()) {
            Fail(std::string(What) + " '" + Field + "' is not a whole number");
        }
        return Value;
    }

    RGBA Colour(const std::string& Field) const {
        if ((Field.size() != 7 && Field.size() != 9) || Field[0] != '#') {
            Fail("colour '" + Field + "' is not #RRGGBB or #RRGGBBAA");
        }
        uint8_t Bytes[4] = {0, 0, 0, 255};
        for (size_t i = 1; i < Field.size(); i += 2) {
            unsigned Value = 0;
            auto [End, Error] = std::from_chars(Field.data() + i, Field.data() + i + 2, Value, 16);
            if (Error != std::errc() || End != Field.data() + i + 2) {
                Fail("colour '" + Field + "' has a digit that is not hexadecimal");
            }
            Bytes[i / 2] = static_cast<uint8_t>(Value);
        }
        return {Bytes[0], Bytes[1], Bytes[2], Bytes[3]};
    }

    // A non-empty rectangle lying inside the texture.
    RECT Rectangle(const std::vector<std::string>& Fields, size_t First,
                   const TEXTUREPLAN& Texture) const {
        RECT R{Integer(Fields[First], "left"), Integer(Fields[First + 1], "top"),
               Integer(Fields[First + 2], "right"), Integer(Fields[First + 3], "bottom")};
        CheckInside(R, Texture);
        return R;
    }

    void CheckInside(const RECT& R, const TEXTUREPLAN& Texture) const {
        if (R.Left >= R.Right || R.Top >= R.Bottom) {
            Fail("rectangle " + Describe(R) + " is empty (right must exceed left, bottom top)");
        }
        if (R.Left < 0 || R.Top < 0 || R.Right > Texture.Width || R.Bottom > Texture.Height) {
            Fail("rectangle " + Describe(R) + " lies outside the " + std::to_string(Texture.Width) +
                 " x " + std::to_string(Texture.Height) + " texture " + Texture.OutPath);
        }
    }

    static std::string Describe(const RECT& R) {
        return "(" + std::to_string(R.Left) + ", " + std::to_string(R.Top) + ")-(" +
               std::to_string(R.Right) + ", " + std::to_string(R.Bottom) + ")";
    }

    void ExpectFields(const std::vector<std::string>& Fields, size_t Least, size_t Most,
                      const char* Usage) const {
        if (Fields.size() < Least || Fields.size() > Most) {
            Fail("expected '" + std::string(Usage) + "'");
        }
    }

private:
    const std::filesystem::path& Manifest;
    int Line;
};

// The output path must stay inside the data folder: relative, no "..", no
// empty parts, and its extension must say the format it is written in.
void CheckOutPath(const LINEPARSER& P, const std::string& OutPath, IMAGEFORMAT Format) {
    std::filesystem::path Path(OutPath);
    if (OutPath.empty() || Path.is_absolute() || OutPath.front() == '/' ||
        OutPath.find('\\') != std::string::npos) {
        P.Fail("output path '" + OutPath + "' must be relative to the data folder");
    }
    for (const auto& Part : Path) {
        if (Part == ".." || Part == "." || Part.empty()) {
            P.Fail("output path '" + OutPath + "' must not contain '.', '..' or empty parts");
        }
    }
    std::string Extension = Path.extension().string();
    std::transform(Extension.begin(), Extension.end(), Extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const char* Wanted = Format == IMAGEFORMAT::DDS   ? ".dds"
                         : Format == IMAGEFORMAT::BMP ? ".bmp"
                                                      : ".jpg";
    if (Extension != Wanted) {
        P.Fail("output path '" + OutPath + "' does not end in " + Wanted +
               ", the format it is written in");
    }
}

}  // namespace

RECT STEP::Dest() const {
    return {DestLeft, DestTop, DestLeft + Area.Width(), DestTop + Area.Height()};
}

std::vector<TEXTUREPLAN> ParseManifest(const std::string& Text,
                                       const std::filesystem::path& ManifestPath) {
    std::vector<TEXTUREPLAN> Textures;
    std::istringstream In(Text);
    std::string RawLine;
    int LineNumber = 0;
    while (std::getline(In, RawLine)) {
        ++LineNumber;
        if (!RawLine.empty() && RawLine.back() == '\r') {
            RawLine.pop_back();
        }
        std::vector<std::string> Fields = SplitFields(RawLine);
        if (Fields.empty()) {
            continue;
        }
        LINEPARSER P(ManifestPath, LineNumber);
        const std::string& Directive = Fields[0];

        if (Directive == "texture") {
            P.ExpectFields(Fields, 5, 5, "texture <out-path> <width> <height> <dds|bmp|jpg>");
            TEXTUREPLAN Texture;
            Texture.OutPath = Fields[1];
            Texture.Width = P.Integer(Fields[2], "width");
            Texture.Height = P.Integer(Fields[3], "height");
            Texture.Manifest = ManifestPath;
            Texture.Line = LineNumber;
            if (Texture.Width < 1 || Texture.Height < 1 || Texture.Width > MAX_TEXTURE_SIDE ||
                Texture.Height > MAX_TEXTURE_SIDE) {
                P.Fail("texture size " + Fields[2] + " x " + Fields[3] + " is not within 1 .. " +
                       std::to_string(MAX_TEXTURE_SIDE));
            }
            if (Fields[4] == "dds") {
                Texture.Format = IMAGEFORMAT::DDS;
            } else if (Fields[4] == "bmp") {
                Texture.Format = IMAGEFORMAT::BMP;
            } else if (Fields[4] == "jpg") {
                Texture.Format = IMAGEFORMAT::JPG;
            } else {
                P.Fail("format '" + Fields[4] + "' is not dds, bmp or jpg");
            }
            CheckOutPath(P, Texture.OutPath, Texture.Format);
            Textures.push_back(std::move(Texture));
            continue;
        }

        if (Directive != "fill" && Directive != "place" && Directive != "mirror" &&
            Directive != "texel") {
            P.Fail("unknown directive '" + Directive + "'");
        }
        if (Textures.empty()) {
            P.Fail("'" + Directive + "' comes before any 'texture' line");
        }
        TEXTUREPLAN& Texture = Textures.back();
        STEP Step;
        Step.Line = LineNumber;

        if (Directive == "fill") {
            P.ExpectFields(Fields, 2, 2, "fill <#RRGGBB or #RRGGBBAA>");
            Step.Kind = STEPKIND::FILL;
            Step.Colour = P.Colour(Fields[1]);
            Step.Area = {0, 0, Texture.Width, Texture.Height};
        } else if (Directive == "place") {
            P.ExpectFields(Fields, 6, 7, "place <svg> <left> <top> <right> <bottom> [edge]");
            Step.Kind = STEPKIND::PLACE;
            Step.SvgName = Fields[1];
            Step.Svg = ManifestPath.parent_path() / Fields[1];
            Step.Area = P.Rectangle(Fields, 2, Texture);
            if (Fields.size() == 7) {
                if (Fields[6] != "edge") {
                    P.Fail("expected 'edge' or nothing after the rectangle, found '" + Fields[6] +
                           "'");
                }
                Step.Edge = true;
            }
        } else if (Directive == "mirror") {
            P.ExpectFields(Fields, 7, 7,
                           "mirror <left> <top> <right> <bottom> <dest-left> <dest-top>");
            Step.Kind = STEPKIND::MIRROR;
            Step.Area = P.Rectangle(Fields, 1, Texture);
            Step.DestLeft = P.Integer(Fields[5], "dest-left");
            Step.DestTop = P.Integer(Fields[6], "dest-top");
            if (Step.DestLeft < 0 || Step.DestTop < 0 || Step.DestLeft >= Texture.Width ||
                Step.DestTop >= Texture.Height) {
                P.Fail("mirror destination (" + Fields[5] + ", " + Fields[6] +
                       ") lies outside the texture " + Texture.OutPath);
            }
            P.CheckInside(Step.Dest(), Texture);
        } else {
            P.ExpectFields(Fields, 4, 4, "texel <x> <y> <#RRGGBBAA>");
            Step.Kind = STEPKIND::TEXEL;
            int X = P.Integer(Fields[1], "x");
            int Y = P.Integer(Fields[2], "y");
            Step.Area = {X, Y, X + 1, Y + 1};
            P.CheckInside(Step.Area, Texture);
            Step.Colour = P.Colour(Fields[3]);
        }
        Texture.Steps.push_back(std::move(Step));
    }
    return Textures;
}

std::vector<TEXTUREPLAN> ReadManifest(const std::filesystem::path& ManifestPath) {
    std::ifstream In(ManifestPath, std::ios::binary);
    if (!In) {
        throw BAKEERROR(ManifestPath.string() + ": cannot be read");
    }
    std::stringstream Text;
    Text << In.rdbuf();
    return ParseManifest(Text.str(), ManifestPath);
}

std::vector<std::filesystem::path> FindManifests(const std::filesystem::path& AssetsDir) {
    std::filesystem::path ArtDir = AssetsDir / "art";
    std::error_code Error;
    if (!std::filesystem::is_directory(ArtDir, Error)) {
        throw BAKEERROR(ArtDir.string() + ": no such folder");
    }
    std::vector<std::filesystem::path> Manifests;
    std::filesystem::directory_iterator It(ArtDir, Error);
    for (; !Error && It != std::filesystem::directory_iterator(); It.increment(Error)) {
        std::filesystem::path Manifest = It->path() / "manifest.txt";
        std::error_code Ignored;
        if (It->is_directory(Ignored) && std::filesystem::is_regular_file(Manifest, Ignored)) {
            Manifests.push_back(Manifest);
        }
    }
    if (Error) {
        throw BAKEERROR(ArtDir.string() + ": cannot be listed: " + Error.message());
    }
    std::sort(Manifests.begin(), Manifests.end());
    return Manifests;
}

std::vector<TEXTUREPLAN> ReadAllManifests(const std::vector<std::filesystem::path>& Manifests) {
    std::vector<TEXTUREPLAN> All;
    std::map<std::string, const TEXTUREPLAN*> Seen;
    for (const auto& Manifest : Manifests) {
        for (auto& Texture : ReadManifest(Manifest)) {
            All.push_back(std::move(Texture));
        }
    }
    for (const auto& Texture : All) {
        auto [It, Fresh] = Seen.emplace(Texture.OutPath, &Texture);
        if (!Fresh) {
            throw BAKEERROR(Texture.Manifest.string() + ":" + std::to_string(Texture.Line) +
                            ": texture " + Texture.OutPath + " is already made by " +
                            It->second->Manifest.string() + ":" + std::to_string(It->second->Line));
        }
    }
    return All;
}
