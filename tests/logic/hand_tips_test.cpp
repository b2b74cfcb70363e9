#include <gtest/gtest.h>

#include "logic/hand_tips.h"

namespace {

enum Ring { kSecond, kMinute, kHour };

struct TipCase {
    int width, height;
    Ring ring;
    int position;
    QPoint expected;
};

const QPoint& TipOf(const HandTipTable& t, Ring ring, int p) {
    return ring == kSecond ? t.secondTips[p] : ring == kMinute ? t.minuteTips[p] : t.hourTips[p];
}

class HandTipExamples : public ::testing::TestWithParam<TipCase> {};

TEST_P(HandTipExamples, matchTheKnownTips) {
    const TipCase& c = GetParam();
    const HandTipTable table = ComputeHandTips(c.width, c.height);
    EXPECT_EQ(TipOf(table, c.ring, c.position), c.expected)
        << c.width << "x" << c.height << " ring " << c.ring << " position " << c.position;
}

INSTANTIATE_TEST_SUITE_P(
    AllFaceSizes, HandTipExamples,
    ::testing::Values(
        // 128 x 128
        TipCase{128, 128, kSecond, 0, {64, 13}}, TipCase{128, 128, kSecond, 1, {69, 14}},
        TipCase{128, 128, kSecond, 5, {89, 20}}, TipCase{128, 128, kSecond, 15, {115, 64}},
        TipCase{128, 128, kSecond, 30, {64, 115}}, TipCase{128, 128, kSecond, 45, {13, 64}},
        TipCase{128, 128, kSecond, 59, {59, 14}}, TipCase{128, 128, kSecond, 29, {69, 114}},
        TipCase{128, 128, kSecond, 31, {59, 114}}, TipCase{128, 128, kMinute, 0, {64, 24}},
        TipCase{128, 128, kMinute, 1, {68, 24}}, TipCase{128, 128, kMinute, 15, {104, 64}},
        TipCase{128, 128, kHour, 0, {64, 39}}, TipCase{128, 128, kHour, 1, {66, 39}},
        TipCase{128, 128, kHour, 15, {89, 64}}, TipCase{128, 128, kHour, 59, {62, 39}},
        // 208 x 209: the extra pixel of height changes nothing
        TipCase{208, 209, kSecond, 0, {104, 21}}, TipCase{208, 209, kSecond, 15, {187, 104}},
        TipCase{208, 209, kSecond, 30, {104, 187}}, TipCase{208, 209, kSecond, 45, {21, 104}},
        TipCase{208, 209, kMinute, 0, {104, 40}}, TipCase{208, 209, kHour, 0, {104, 63}},
        TipCase{208, 209, kHour, 30, {104, 145}},
        // 256 x 256
        TipCase{256, 256, kSecond, 0, {128, 26}}, TipCase{256, 256, kSecond, 1, {138, 27}},
        TipCase{256, 256, kSecond, 15, {230, 128}}, TipCase{256, 256, kMinute, 0, {128, 48}},
        TipCase{256, 256, kMinute, 1, {136, 48}}, TipCase{256, 256, kHour, 0, {128, 77}},
        TipCase{256, 256, kHour, 1, {133, 78}}));

TEST(HandTips, leftHalfMirrorsRightHalfOnEveryRing) {
    for (const int width : {128, 208, 256}) {
        const HandTipTable t = ComputeHandTips(width, width);
        const int cx = width / 2;
        for (int p = 1; p < 30; ++p) {
            for (Ring ring : {kSecond, kMinute, kHour}) {
                const QPoint right = TipOf(t, ring, p);
                const QPoint left = TipOf(t, ring, 60 - p);
                EXPECT_EQ(left.x() - cx, cx - right.x()) << width << " position " << p;
                EXPECT_EQ(left.y(), right.y()) << width << " position " << p;
            }
        }
    }
}

}  // namespace
