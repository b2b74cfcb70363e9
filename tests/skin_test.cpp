#include <gtest/gtest.h>
#include <QFile>

#include "logic/face_geometry.h"
#include "logic/resource_ids.h"
#include "logic/skins.h"
#include "ui/skin.h"

namespace {

TEST(Resources, everyIdLoadsWithItsSize) {
    const struct {
        unsigned id;
        QSize size;
    } cases[] = {{SkinResourceId(0), {208, 209}}, {SkinResourceId(1), {128, 128}},
                 {SkinResourceId(2), {128, 128}}, {SkinResourceId(3), {256, 256}},
                 {SkinResourceId(4), {128, 128}}, {SkinResourceId(5), {128, 128}},
                 {SkinResourceId(6), {128, 128}}, {SkinResourceId(kSkinCount - 1), {256, 256}},
                 {IDR_PREVIEW_BACK, {287, 256}}};
    for (const auto& c : cases) {
        std::unique_ptr<QImage> slot;
        ASSERT_TRUE(LoadPngResource(c.id, slot)) << c.id;
        EXPECT_EQ(slot->size(), c.size) << c.id;
        EXPECT_EQ(slot->devicePixelRatio(), 1.0);
        // On a denser screen: twice the pixels, the same logical size.
        for (const qreal dpr : {1.5, 2.0, 3.0}) {
            std::unique_ptr<QImage> fine;
            ASSERT_TRUE(LoadPngResource(c.id, fine, dpr)) << c.id;
            EXPECT_EQ(fine->size(), c.size * 2) << c.id;
            EXPECT_EQ(fine->devicePixelRatio(), 2.0) << c.id;
            EXPECT_EQ(fine->deviceIndependentSize().toSize(), c.size) << c.id;
        }
    }
    EXPECT_FALSE(QImage(ResourcePath("icon", IDR_MAINFRAME)).isNull());
    EXPECT_TRUE(QFile::exists(ResourcePath("wave", IDR_ALARM_WAVE)));
}

TEST(Resources, interlacedSkinDecodesEveryRow) {
    // Adam7 stores the image in seven passes; a decoder that stops early leaves rows empty.
    std::unique_ptr<QImage> skin;
    ASSERT_TRUE(LoadPngResource(SkinResourceId(3), skin));
    int opaqueRows = 0;
    for (int y = 0; y < skin->height(); ++y) {
        opaqueRows += qAlpha(skin->pixel(skin->width() / 2, y)) == 255 ? 1 : 0;
    }
    EXPECT_GT(opaqueRows, skin->height() * 3 / 4);
    EXPECT_EQ(qAlpha(skin->pixel(0, 0)), 0);
}

TEST(Resources, failedLoadKeepsTheImageInTheSlot) {
    std::unique_ptr<QImage> slot;
    ASSERT_TRUE(LoadPngResource(SkinResourceId(1), slot));
    const QImage* before = slot.get();
    for (unsigned missing : {SkinResourceId(kSkinCount), IDR_SKIN_FIRST - 1, 0u, IDR_ALARM_WAVE}) {
        EXPECT_FALSE(LoadPngResource(missing, slot)) << missing;
        EXPECT_EQ(slot.get(), before);
        EXPECT_EQ(slot->size(), QSize(128, 128));
    }
}

TEST(SkinIndex, storedTextThatNamesNoSkinGivesSkinZero) {
    const struct {
        std::optional<QString> stored;
        int expected;
    } cases[] = {{std::nullopt, 0},
                 {QString(), 0},
                 {QStringLiteral("7"), 7},
                 {QStringLiteral(" 3 "), 3},
                 {QStringLiteral("8"), 0},
                 {QStringLiteral("-1"), 0},
                 {QStringLiteral("abc"), 0},
                 {QStringLiteral("2x"), 0},
                 {QStringLiteral("99999999999999999999"), 0},
                 {QStringLiteral("0x3"), 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(SkinIndexFromProfile(c.stored), c.expected)
            << c.stored.value_or("<absent>").toStdString();
    }
}

TEST(Placement, rightEdgeOnTheScreenEdgeFiftyPixelsDown) {
    EXPECT_EQ(InitialClockRect(QRect(0, 0, 1920, 1080), QSize(128, 128)),
              QRect(QPoint(1792, 50), QPoint(1919, 177)));  // (1792, 50)-(1920, 178), exclusive
    EXPECT_EQ(InitialClockRect(QRect(0, 0, 800, 600), QSize(208, 209)), QRect(592, 50, 208, 209));
}

}  // namespace
