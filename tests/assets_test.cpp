// Checks the committed art for the facts the clock relies on, so a careless regeneration of
// res/ (tools/make-assets) shows up here rather than as a broken face on screen.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QByteArray>
#include <QImage>

#include "logic/resource_ids.h"
#include "logic/skins.h"
#include "tests/test_support.h"

namespace {

QByteArray ReadAsset(const std::string& relative) {
    return ReadFile(QStringLiteral(KELVARINE_SOURCE_DIR "/res/") +
                    QString::fromStdString(relative));
}

std::uint32_t Byte(const QByteArray& b, int at) {
    return static_cast<std::uint8_t>(b[at]);
}
std::uint32_t Be32(const QByteArray& b, int at) {
    return Byte(b, at) << 24 | Byte(b, at + 1) << 16 | Byte(b, at + 2) << 8 | Byte(b, at + 3);
}
std::uint32_t Le16(const QByteArray& b, int at) {
    return Byte(b, at) | Byte(b, at + 1) << 8;
}
std::uint32_t Le32(const QByteArray& b, int at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}

struct PngCase {
    std::string file;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t colorType;  // 6 = RGBA, 2 = RGB
    bool interlaced;
};

void PrintTo(const PngCase& c, std::ostream* os) {
    *os << c.file;
}

// Each skin's face at one pixel per point; skin 3 stays interlaced, so the program must keep
// reading Adam7 files.
const struct {
    int skin;
    std::uint32_t width;
    std::uint32_t height;
    bool interlaced;
} kFaces[] = {
    {0, 208, 209, false}, {1, 128, 128, false}, {2, 128, 128, false}, {3, 256, 256, true},
    {4, 128, 128, false}, {5, 128, 128, false}, {6, 128, 128, false}, {7, 256, 256, false},
};
static_assert(std::size(kFaces) == kSkinCount, "every skin has its face");

std::string PngFile(const char* folder, unsigned id, std::uint32_t scale) {
    return QStringLiteral("%1/%2%3.png")
        .arg(QLatin1String(folder))
        .arg(id)
        .arg(QLatin1String(scale == 2 ? "@2x" : ""))
        .toStdString();
}

// The clock faces, found by their skin's resource, at `scale` times the pixels (2 for screens
// of twice the density).
std::vector<PngCase> Faces(std::uint32_t scale) {
    std::vector<PngCase> faces;
    for (const auto& face : kFaces) {
        faces.push_back({PngFile("png", SkinResourceId(face.skin), scale), face.width * scale,
                         face.height * scale, 6, face.interlaced});
    }
    return faces;
}

std::vector<PngCase> EveryPng() {
    std::vector<PngCase> all = Faces(1);
    for (const PngCase& face : Faces(2)) {
        all.push_back(face);
    }
    for (const std::uint32_t scale : {1u, 2u}) {
        all.push_back(
            {PngFile("png", IDR_PREVIEW_BACK, scale), 287 * scale, 256 * scale, 2, false});
    }
    all.push_back({PngFile("icon", IDR_MAINFRAME, 1), 256, 256, 6, false});
    // The icon in the sizes the desktop asks for.
    all.push_back({"icon/48.png", 48, 48, 6, false});
    all.push_back({"icon/64.png", 64, 64, 6, false});
    return all;
}

class PngAsset : public ::testing::TestWithParam<PngCase> {};

TEST_P(PngAsset, HeaderHasTheExpectedLayout) {
    const PngCase& c = GetParam();
    const QByteArray png = ReadAsset(c.file);
    ASSERT_GE(png.size(), 33) << c.file;
    EXPECT_EQ(png.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.mid(12, 4), QByteArray("IHDR"));
    EXPECT_EQ(Be32(png, 16), c.width);
    EXPECT_EQ(Be32(png, 20), c.height);
    EXPECT_EQ(Byte(png, 24), 8u);  // bits per channel
    EXPECT_EQ(Byte(png, 25), c.colorType);
    EXPECT_EQ(Byte(png, 28), c.interlaced ? 1u : 0u);  // Adam7 or none
}

class FaceAsset : public PngAsset {};

TEST_P(FaceAsset, IsRoundAndCatchesClicksInside) {
    const PngCase& c = GetParam();
    QImage image;
    ASSERT_TRUE(image.loadFromData(ReadAsset(c.file))) << c.file;
    image = image.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)}) {
        EXPECT_EQ(qAlpha(image.pixel(corner)), 0)
            << c.file << " corner " << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(qAlpha(image.pixel(w / 2, h / 2)), 255) << c.file;
    // The window's click mask keeps pixels of alpha 128 and up; the whole disc must be in it.
    const double radius = std::min(w, h) / 2.0 - 2;
    int lowest = 255;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (std::hypot(x + 0.5 - w / 2.0, y + 0.5 - h / 2.0) <= radius) {
                lowest = std::min(lowest, qAlpha(image.pixel(x, y)));
            }
        }
    }
    EXPECT_GE(lowest, 128) << c.file;
}

std::string CaseName(const ::testing::TestParamInfo<PngCase>& info) {
    QString name = QString::fromStdString(info.param.file);
    return name.replace(QLatin1Char('/'), QLatin1Char('_'))
        .replace(QLatin1Char('@'), QLatin1Char('_'))
        .remove(".png")
        .toStdString();
}

INSTANTIATE_TEST_SUITE_P(Committed, PngAsset, ::testing::ValuesIn(EveryPng()), CaseName);
INSTANTIATE_TEST_SUITE_P(Committed, FaceAsset, ::testing::ValuesIn(Faces(1)), CaseName);
INSTANTIATE_TEST_SUITE_P(Committed2x, FaceAsset, ::testing::ValuesIn(Faces(2)), CaseName);

TEST(ChimeAsset, IsLoopableEightBitMonoPcm) {
    constexpr int kDataBytes = 22463;
    const QByteArray wav =
        ReadAsset(QStringLiteral("wave/%1.wav").arg(IDR_ALARM_WAVE).toStdString());
    // The odd-sized data chunk is followed by its pad byte, which the RIFF size counts.
    ASSERT_EQ(wav.size(), 44 + kDataBytes + 1);
    EXPECT_EQ(wav.left(4), QByteArray("RIFF"));
    EXPECT_EQ(Le32(wav, 4), static_cast<std::uint32_t>(wav.size() - 8));
    EXPECT_EQ(wav.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(Le32(wav, 16), 16u);
    EXPECT_EQ(Le16(wav, 20), 1u);  // PCM
    EXPECT_EQ(Le16(wav, 22), 1u);  // mono
    EXPECT_EQ(Le32(wav, 24), 11025u);
    EXPECT_EQ(Le32(wav, 28), 11025u);  // bytes per second
    EXPECT_EQ(Le16(wav, 32), 1u);      // block align
    EXPECT_EQ(Le16(wav, 34), 8u);
    EXPECT_EQ(wav.mid(36, 4), QByteArray("data"));
    EXPECT_EQ(Le32(wav, 40), static_cast<std::uint32_t>(kDataBytes));
    // The alarm loops; starting and ending on the silent midline keeps the seam from clicking.
    EXPECT_EQ(Byte(wav, 44), 128u);
    EXPECT_EQ(Byte(wav, 44 + kDataBytes - 1), 128u);
}

}  // namespace
