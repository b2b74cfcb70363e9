#include <gtest/gtest.h>
#include <QTest>

#include "hands/hands_dlg.h"
#include "hands/hands_frame.h"
#include "logic/hand_positions.h"
#include "logic/hand_tips.h"
#include "logic/hands_geometry.h"
#include "logic/tick_timing.h"
#include "tests/test_support.h"
#include "ui/drawing.h"
#include "ui/messages.h"

namespace {

TEST(HandPositions, workedExamples) {
    const struct {
        int h, m, s;
        HandPositions expected;
    } cases[] = {{0, 0, 0, {0, 0, 0, false}},    {11, 59, 59, {59, 59, 59, false}},
                 {12, 0, 0, {0, 0, 0, true}},    {15, 47, 30, {18, 47, 30, true}},
                 {23, 11, 5, {55, 11, 5, true}}, {23, 12, 5, {56, 12, 5, true}}};
    for (const auto& c : cases) {
        const HandPositions p = HandPositionsAt(c.h, c.m, c.s);
        EXPECT_EQ(p.hour, c.expected.hour) << c.h << ":" << c.m << ":" << c.s;
        EXPECT_EQ(p.minute, c.expected.minute);
        EXPECT_EQ(p.second, c.expected.second);
        EXPECT_EQ(p.pm, c.expected.pm);
    }
}

TEST(HandPositions, ticksLandJustAfterTheNextSecondBoundary) {
    for (const std::int64_t ms : {0LL, 1LL, 250LL, 999LL, 1'700'000'000'500LL, -250LL}) {
        const std::int64_t next = ms + MillisecondsToNextTick(ms);
        const std::int64_t boundary = ms >= 0 ? (ms / 1000 + 1) * 1000 : 0;
        EXPECT_GT(next, boundary - 1) << ms;
        EXPECT_LT(next, boundary + 10) << ms;
    }
}

TEST(MinuteWatch, reportsTheFirstSampleAndEachChangeOfMinuteOnly) {
    MinuteWatch watch;
    EXPECT_TRUE(watch.IsNewMinute(17));   // first sample ever
    EXPECT_FALSE(watch.IsNewMinute(17));  // same minute again
    EXPECT_TRUE(watch.IsNewMinute(18));
    EXPECT_TRUE(watch.IsNewMinute(3));  // clock set back
    EXPECT_FALSE(watch.IsNewMinute(3));
}

// Counts WM_CHECK_MEMOS arriving at the overlay's owner.
class CheckCounter : public QWidget {
public:
    int checks = 0;
    bool event(QEvent* e) override {
        if (e->type() == WM_CHECK_MEMOS) {
            ++checks;
            return true;
        }
        return QWidget::event(e);
    }
};

struct Overlay {
    TestServices fakes;
    CheckCounter owner;
    CHandsDlg hands{fakes.services};

    explicit Overlay(std::int64_t start, int face = 128) {
        g_handTips = ComputeHandTips(face, face);
        owner.resize(face, face);
        hands.resize(face, face);  // as the overlay's keeper does
        fakes.time.SetSeconds(start);
        hands.Create(&owner);
    }
    int ChecksAfter(std::int64_t seconds) {
        fakes.time.SetSeconds(seconds);
        hands.Refresh();
        QCoreApplication::processEvents();
        return owner.checks;
    }
};

TEST(HandsWindow, postsTheMemoCheckOnTheFirstFrameAndOnEachNewMinuteOnly) {
    const std::int64_t t0 = LocalSeconds(2026, 12, 7, 9, 30, 10);
    Overlay overlay(t0);
    EXPECT_EQ(overlay.ChecksAfter(t0), 1);              // showing drew the first frame
    EXPECT_EQ(overlay.ChecksAfter(t0 + 1), 1);          // same minute
    EXPECT_EQ(overlay.ChecksAfter(t0 + 49), 1);         // 09:30:59
    EXPECT_EQ(overlay.ChecksAfter(t0 + 50), 2);         // 09:31:00
    EXPECT_EQ(overlay.ChecksAfter(t0 + 50 + 3600), 2);  // an hour on, same minute: no check
    EXPECT_EQ(overlay.ChecksAfter(t0 + 3720), 3);       // 10:32
}

TEST(HandsWindow, hoverGrowsTheCentreDotAndLeaveShrinksIt) {
    // At midnight every hand points up and the second hand's tail down. The labels may reach
    // the row through the centre, in whatever font the system gives them, but hovering changes
    // only the dot: the frames differ by its ring alone.
    Overlay overlay(LocalSeconds(2026, 12, 7, 0, 0, 0));
    const QImage normal = overlay.hands.frame().copy();
    QCoreApplication::postEvent(&overlay.hands, new QEvent(WM_MOUSEHOVER));
    QCoreApplication::processEvents();
    const QImage hovered = overlay.hands.frame().copy();
    QCoreApplication::postEvent(&overlay.hands, new QEvent(WM_MOUSELEAVE));
    QCoreApplication::processEvents();
    std::vector<int> grown;  // columns of the centre row the dot took
    for (int x = 0; x < normal.width(); ++x) {
        if (normal.pixel(x, 64) != hovered.pixel(x, 64)) {
            grown.push_back(x);
        }
    }
    // From 6 to 10 pixels across (59..68): the ring around the middle (62..65) changes, the
    // soft edge of the small dot included; nothing else does.
    EXPECT_EQ(grown, (std::vector<int>{59, 60, 61, 66, 67, 68}));
    EXPECT_EQ(qAlpha(hovered.pixel(64, 64)), 255);
    EXPECT_EQ(overlay.hands.frame(), normal);
}

TEST(HandsGeometry, itemsForEveryFaceSize) {
    const struct {
        QSize client;
        QPoint centre;
        QRectF label, day;
        float dayPoints;
    } cases[] = {
        {{128, 128}, {64, 64}, {0, 38.4, 128, 32}, {70.4, 49, 50, 30}, 11.946667f},
        {{208, 209}, {104, 104}, {0, 62.4, 208, 52.25}, {114.4, 89.5, 50, 30}, 19.413334f},
        {{256, 256}, {128, 128}, {0, 76.8, 256, 64}, {140.8, 113, 50, 30}, 23.893333f},
    };
    for (const auto& c : cases) {
        const HandsGeometry g = ComputeHandsGeometry({c.client, {}, {}, {}, false, 6, false});
        EXPECT_EQ(g.centre, c.centre);
        for (const auto& [got, want] : {std::pair{g.labelRect, c.label}, {g.dayRect, c.day}}) {
            EXPECT_FLOAT_EQ(got.x(), want.x());
            EXPECT_FLOAT_EQ(got.y(), want.y());
            EXPECT_FLOAT_EQ(got.width(), want.width());
            EXPECT_FLOAT_EQ(got.height(), want.height());
        }
        EXPECT_FLOAT_EQ(g.dayFontPoints, c.dayPoints);
        EXPECT_EQ(g.dayText, QStringLiteral("06"));
        EXPECT_EQ(g.centreDot, QRect(c.centre - QPoint(3, 3), QSize(6, 6)));
    }
}

TEST(HandsGeometry, tailIsAQuarterAcrossTheCentreTruncatedTowardZero) {
    HandsInput in{{128, 128}, {}, {}, {64, 13}, true, 31, true};
    const HandsGeometry g = ComputeHandsGeometry(in);
    EXPECT_EQ(g.tail, QPoint(64, 76));  // (13 - 64) / 4 is -12, not -13
    EXPECT_EQ(g.tailDot, QRect(62, 74, 4, 4));
    EXPECT_EQ(g.centreDot, QRect(59, 59, 10, 10));
    EXPECT_EQ(g.label, QStringLiteral("PM"));
    EXPECT_EQ(g.dayText, QStringLiteral("31"));
    in.pm = false;
    EXPECT_EQ(ComputeHandsGeometry(in).label, QStringLiteral("AM"));
}

// A frame at 10:10:40 on the 128 face: the second hand points to 8 o'clock, away from the
// others.
QImage FrameAt(int hour, bool hover = false, int face = 128) {
    const HandTipTable t = ComputeHandTips(face, face);
    const HandPositions p = HandPositionsAt(hour, 10, 40);
    return RenderHandsFrame(ComputeHandsGeometry({{face, face},
                                                  t.hourTips[p.hour],
                                                  t.minuteTips[p.minute],
                                                  t.secondTips[p.second],
                                                  p.pm,
                                                  6,
                                                  hover}),
                            96);
}

TEST(HandsFrame, keyPixelsAreSeeThroughAndEverythingDrawnIsOpaque) {
    const QImage frame = FrameAt(10);
    int transparent = 0, opaque = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb px = frame.pixel(x, y);
            ASSERT_NE(px & 0xFFFFFF, HANDS_KEY_COLOR & 0xFFFFFF) << x << "," << y;
            ASSERT_TRUE(qAlpha(px) == 0 || qAlpha(px) == 255) << x << "," << y;
            (qAlpha(px) == 0 ? transparent : opaque)++;
        }
    }
    EXPECT_GT(transparent, frame.width() * frame.height() * 3 / 4);
    EXPECT_EQ(qAlpha(frame.pixel(2, 2)), 0);

    // The texts are drawn one step off the key and stay visible.
    int textPixels = 0;
    for (int y = 38; y < 70; ++y) {
        for (int x = 0; x < 128; ++x) {
            textPixels += frame.pixel(x, y) == hands_style::kTextColor ? 1 : 0;
        }
    }
    EXPECT_GT(textPixels, 10);
}

TEST(HandsFrame, secondHandIsDrawnLastInItsExactColourWithoutAntialiasing) {
    const QImage frame = FrameAt(10);
    const HandTipTable t = ComputeHandTips(128, 128);
    const QPoint tip = t.secondTips[40];
    // Walk the outer half of the second hand, where no other item reaches.
    int onHand = 0;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 64 - 20; ++x) {
            const QRgb px = frame.pixel(x, y);
            if (qAlpha(px) != 0 && y > 64) {
                EXPECT_EQ(px, hands_style::kSecondHandColor) << x << "," << y;
                ++onHand;
            }
        }
    }
    EXPECT_GT(onHand, 10);
    EXPECT_EQ(frame.pixel(tip), hands_style::kSecondHandColor);
}

TEST(HandsFrame, labelSaysAmBeforeNoonAndPmAfter) {
    const QImage am = FrameAt(10);
    const QImage pm = FrameAt(22);
    const QRect labelArea(0, 38, 128, 32);
    int differing = 0;
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            if (am.pixel(x, y) != pm.pixel(x, y)) {
                EXPECT_TRUE(labelArea.contains(x, y)) << x << "," << y;
                ++differing;
            }
        }
    }
    EXPECT_GT(differing, 10);
}

// Geometry at a local time on a face, from the real tip table.
HandsGeometry GeometryAt(int face, int hour, int minute, int second, bool hover) {
    const HandTipTable t = ComputeHandTips(face, face);
    const HandPositions p = HandPositionsAt(hour, minute, second);
    return ComputeHandsGeometry({{face, face},
                                 t.hourTips[p.hour],
                                 t.minuteTips[p.minute],
                                 t.secondTips[p.second],
                                 p.pm,
                                 6,
                                 hover});
}

TEST(HandsFrame, keptFrameEqualsTheFullFrameAfterEveryKindOfTick) {
    // Seconds in a row (the hand crosses the others at 0, 10 and 50), a new minute, hover on
    // and off, a jump back, noon, on every face size and at both pixel ratios.
    const struct {
        int h, m, s;
        bool hover;
    } ticks[] = {{10, 9, 58, false}, {10, 9, 59, false},  {10, 10, 0, false},  {10, 10, 1, true},
                 {10, 10, 2, true},  {10, 10, 10, false}, {10, 10, 50, false}, {10, 10, 51, false},
                 {9, 59, 59, false}, {11, 59, 59, false}, {12, 0, 0, false},   {12, 0, 1, false}};
    for (const qreal dpr : {1.0, 2.0}) {
        for (const int face : {128, 208, 256}) {
            HandsFrame kept;
            for (const auto& t : ticks) {
                const HandsGeometry g = GeometryAt(face, t.h, t.m, t.s, t.hover);
                kept.Update(g, 96, dpr);
                ASSERT_EQ(kept.image(), RenderHandsFrame(g, 96, dpr))
                    << face << " at " << t.h << ":" << t.m << ":" << t.s << " hover " << t.hover
                    << " dpr " << dpr;
            }
        }
    }
}

TEST(HandsFrame, aTickRedrawsOnlyAroundTheSecondHand) {
    HandsFrame kept;
    EXPECT_EQ(kept.Update(GeometryAt(128, 10, 10, 40, false), 96), QRect(0, 0, 128, 128));
    const QRect tick = kept.Update(GeometryAt(128, 10, 10, 41, false), 96);
    EXPECT_FALSE(tick.isEmpty());
    EXPECT_LT(tick.width() * tick.height(), 128 * 128 / 3);
    EXPECT_TRUE(kept.Update(GeometryAt(128, 10, 10, 41, false), 96).isEmpty());
    EXPECT_EQ(kept.Update(GeometryAt(128, 10, 11, 0, false), 96), QRect(0, 0, 128, 128));
}

TEST(HandsFrame, shapeOfAFinerFrameKeepsEveryPixelThatShows) {
    // Without a compositor the shape is in logical pixels; a hand one logical pixel thin must
    // not lose pieces to rounding, at any angle.
    for (int second = 0; second < 60; second += 7) {
        const QImage fine = RenderHandsFrame(GeometryAt(128, 10, 10, second, false), 96, 2.0);
        const QImage mask = LogicalAlphaMask(fine).toImage();
        ASSERT_EQ(mask.size(), QSize(128, 128));
        int missing = 0;
        int shown = 0;
        for (int y = 0; y < fine.height(); ++y) {
            for (int x = 0; x < fine.width(); ++x) {
                if (qAlpha(fine.pixel(x, y)) != 0) {
                    ++shown;
                    missing += mask.pixelIndex(x / 2, y / 2) == 0 ? 1 : 0;
                }
            }
        }
        EXPECT_GT(shown, 200) << second;
        EXPECT_EQ(missing, 0) << second;
    }
}

TEST(HandsFrame, twiceThePixelRatioIsTheSameFrameInFinerPixels) {
    const HandsGeometry g = GeometryAt(128, 10, 10, 40, false);
    const QImage fine = RenderHandsFrame(g, 96, 2.0);
    EXPECT_EQ(fine.size(), QSize(256, 256));
    EXPECT_EQ(fine.devicePixelRatio(), 2.0);
    EXPECT_EQ(fine.deviceIndependentSize(), QSizeF(128, 128));
    // The second hand's tip and the key around it land where the 1x frame has them.
    const QImage coarse = RenderHandsFrame(g, 96, 1.0);
    const QPoint tip = ComputeHandTips(128, 128).secondTips[40];
    EXPECT_EQ(coarse.pixel(tip), hands_style::kSecondHandColor);
    EXPECT_EQ(fine.pixel(tip * 2), hands_style::kSecondHandColor);
    EXPECT_EQ(qAlpha(fine.pixel(4, 4)), 0);
}

}  // namespace
