// The hands overlay's frames: a full one (each new minute) and a tick (each second).
#include <benchmark/benchmark.h>

#include <QBitmap>
#include <QGuiApplication>

#include "hands/hands_frame.h"
#include "logic/hand_positions.h"
#include "logic/hand_tips.h"
#include "logic/hands_geometry.h"

namespace {

HandsGeometry GeometryAt(int face, int second) {
    const HandTipTable t = ComputeHandTips(face, face);
    const HandPositions p = HandPositionsAt(10, 10, second);
    return ComputeHandsGeometry({{face, face},
                                 t.hourTips[p.hour],
                                 t.minuteTips[p.minute],
                                 t.secondTips[p.second],
                                 p.pm,
                                 7,
                                 false});
}

// Geometry, drawing and keying for the 256-pixel face.
void BM_HandsFrame256(benchmark::State& state) {
    int second = 0;
    for (auto _ : state) {
        QImage frame = RenderHandsFrame(GeometryAt(256, second), 96);
        benchmark::DoNotOptimize(frame.constBits());
        second = (second + 1) % 60;
    }
}
BENCHMARK(BM_HandsFrame256)->Unit(benchmark::kMillisecond);

// What a tick costs the kept frame: only the second hand's part is redrawn.
void BM_HandsTick256(benchmark::State& state) {
    HandsFrame frame;
    frame.Update(GeometryAt(256, 0), 96);
    int second = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(frame.Update(GeometryAt(256, second), 96));
        second = second % 59 + 1;  // within one minute: never a full redraw
    }
}
BENCHMARK(BM_HandsTick256)->Unit(benchmark::kMillisecond);

// The extra work of a frame on a desktop without a compositing manager.
void BM_OverlayMask256(benchmark::State& state) {
    const QImage frame = RenderHandsFrame(GeometryAt(256, 0), 96);
    for (auto _ : state) {
        QBitmap mask = QBitmap::fromImage(frame.createAlphaMask());
        benchmark::DoNotOptimize(mask.cacheKey());
    }
}
BENCHMARK(BM_OverlayMask256)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
