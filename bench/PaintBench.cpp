// Painting a toolbar-sized picture: hovering across a toolbar repaints buttons with these,
// so each must stay far below 100 microseconds.
#include "controls/paint/MemoryBitmap.h"
#include "controls/paint/PaintEffects.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pelmora;

// A 32x32 picture: a dark glyph on a magenta mask background with some mid colours.
OlePicture glyph() {
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    for (int y = 4; y < 28; ++y) {
        for (int x = 4; x < 28; ++x) {
            if ((x - 16) * (x - 16) + (y - 16) * (y - 16) < 120) {
                img.setPixel(x, y, qRgb(x * 6, 40, y * 6));
            }
        }
    }
    return OlePicture::bitmap(img);
}

QImage surface() {
    QImage img(64, 64, QImage::Format_ARGB32_Premultiplied);
    img.fill(qRgb(212, 208, 200));
    return img;
}

// Paints glyph() onto a fresh surface with paint(effects, surface, picture) as often
// as the benchmark asks.
template <typename Paint> void PaintGlyph(benchmark::State& state, Paint paint) {
    const PaintEffects fx;
    const OlePicture picture = glyph();
    QImage dest = surface();
    for (auto _ : state) {
        paint(fx, dest, picture);
        benchmark::DoNotOptimize(dest.constBits());
    }
}

void BM_TransparentPicture32(benchmark::State& state) {
    PaintGlyph(state, [](const PaintEffects& fx, QImage& dest, const OlePicture& picture) {
        fx.PaintTransparentPicture(dest, picture, 16, 16, 32, 32, 0, 0, OleRgb(255, 0, 255));
    });
}
BENCHMARK(BM_TransparentPicture32)->Unit(benchmark::kMicrosecond);

void BM_DisabledPicture32(benchmark::State& state) {
    PaintGlyph(state, [](const PaintEffects& fx, QImage& dest, const OlePicture& picture) {
        fx.PaintDisabledPicture(dest, picture, 16, 16, 32, 32, 0, 0, OleRgb(255, 0, 255));
    });
}
BENCHMARK(BM_DisabledPicture32)->Unit(benchmark::kMicrosecond);

void BM_CheckedPattern32(benchmark::State& state) {
    const PaintEffects fx;
    MemoryBitmap dither;
    if (!dither.CreateByResource(QStringLiteral("DITHER"))) {
        state.SkipWithError("DITHER resource missing");
        return;
    }
    QImage dest = surface();
    for (auto _ : state) {
        fx.PaintCheckedPattern(dest, dither.hdc(), 16, 16, 32, 32, OleRgb(255, 255, 255));
        benchmark::DoNotOptimize(dest.constBits());
    }
}
BENCHMARK(BM_CheckedPattern32)->Unit(benchmark::kMicrosecond);

} // namespace
