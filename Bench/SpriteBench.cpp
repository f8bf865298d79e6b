// Laying a 1024 x 1024 masked sprite over a 4096 x 4096 sprite, copied and composited "over", beside OpenCV doing
// the same work (a masked copyTo; a per-pixel alpha blend kept where the mask is set) on one thread.

#include "Sprites/GSprite.h"

#include <benchmark/benchmark.h>

#include <random>

#if KORVANE_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int Scene = 4096;
constexpr int Object = 1024;
constexpr int At = 1500;

GSprite noiseSprite(int size, unsigned seed) {
    GSprite sprite(size, size);
    std::mt19937 random(seed);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            sprite.set_pixel(x, y, static_cast<DWORD>(random()));
    return sprite;
}

// An object whose mask is a disc, as a cut-out object's is.
GSprite object() {
    GSprite sprite = noiseSprite(Object, 2);
    const int r = Object / 2;
    for (int y = 0; y < Object; ++y)
        for (int x = 0; x < Object; ++x)
            sprite.mask().setBit(x, y, (x - r) * (x - r) + (y - r) * (y - r) < r * r);
    return sprite;
}

void putSprite(benchmark::State& state, int type) {
    GSprite scene = noiseSprite(Scene, 1);
    const GSprite source = object();
    const GIPLCompositionMode mode(type);
    for (auto _ : state)
        scene.putSprite(source, POINT{At, At}, mode);
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) * Object * Object * 4);
}

void PutSpriteCopy(benchmark::State& state) {
    putSprite(state, -1);
}

void PutSpriteOver(benchmark::State& state) {
    putSprite(state, 0);
}

BENCHMARK(PutSpriteCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(PutSpriteOver)->Unit(benchmark::kMillisecond);

#if KORVANE_BENCH_OPENCV

struct CvScene {
    cv::Mat scene;
    cv::Mat source;
    cv::Mat mask;
    CvScene()
        : scene(Scene, Scene, CV_8UC4), source(Object, Object, CV_8UC4), mask(Object, Object, CV_8UC1, cv::Scalar(0)) {
        cv::setNumThreads(1);
        cv::randu(scene, cv::Scalar::all(0), cv::Scalar::all(255));
        cv::randu(source, cv::Scalar::all(0), cv::Scalar::all(255));
        cv::circle(mask, cv::Point(Object / 2, Object / 2), Object / 2, cv::Scalar(255), cv::FILLED);
    }
    cv::Mat target() { return scene(cv::Rect(At, At, Object, Object)); }
};

void CvPutSpriteCopy(benchmark::State& state) {
    CvScene s;
    cv::Mat target = s.target();
    for (auto _ : state)
        s.source.copyTo(target, s.mask);
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) * Object * Object * 4);
}

// The blend weights come from the source's alpha once, outside the loop, which favours OpenCV.
void CvPutSpriteOver(benchmark::State& state) {
    CvScene s;
    cv::Mat target = s.target();
    cv::Mat alpha, sourceWeights, targetWeights, blended;
    cv::extractChannel(s.source, alpha, 3);
    alpha.convertTo(sourceWeights, CV_32F);
    cv::subtract(cv::Scalar(255.0), sourceWeights, targetWeights);
    for (auto _ : state) {
        cv::blendLinear(s.source, target, sourceWeights, targetWeights, blended);
        blended.copyTo(target, s.mask);
    }
    state.SetBytesProcessed(static_cast<long long>(state.iterations()) * Object * Object * 4);
}

BENCHMARK(CvPutSpriteCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(CvPutSpriteOver)->Unit(benchmark::kMillisecond);

#endif

} // namespace
