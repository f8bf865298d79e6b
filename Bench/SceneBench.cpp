// Scenes: composing a 4096 x 4096 background with 20 objects of 512 x 512 (alpha and masks), beside the same
// blend done with OpenCV (when present); recomposing after one object moves 10 pixels; the selection glow of a
// 1024 x 1024 object; writing and reading a scene file of 20 objects.

#include "Model/GCompoundModel.h"
#include "Scenes/ASceneReaderWriter.h"
#include "Streams/mpstream.h"
#include "Text/CoreStringTable.h"
#include "Text/UIStringTable.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#if KORVANE_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int SceneSize = 4096;
constexpr int ObjectSize = 512;
constexpr int ObjectCount = 20;

void startUp() {
    static const bool started = [] {
        AddCoreStringLoader();
        AddUIStringLoader();
        return true;
    }();
    (void)started;
}

// Opaque noise over a gradient: the background.
GCompoundModel* background() {
    auto* model = new GCompoundModel(SceneSize, SceneSize);
    GSprite& image = model->getModifiableImage();
    std::mt19937 random(3);
    for (int y = 0; y < SceneSize; ++y) {
        DWORD* row = image.get_line_address_to_modify(y);
        for (int x = 0; x < SceneSize; ++x)
            row[x] = 0xFF000000u | ((x >> 4) << 16) | ((y >> 4) << 8) | (random() & 0xFF);
    }
    model->invalidate();
    return model;
}

// A disk of colour whose alpha falls from the centre outwards; outside the disk the mask is clear.
GCompoundModel* object(int index) {
    auto* model = new GCompoundModel(ObjectSize, ObjectSize);
    GSprite& image = model->getModifiableImage();
    constexpr double Radius = ObjectSize / 2.0;
    for (int y = 0; y < ObjectSize; ++y) {
        DWORD* row = image.get_line_address_to_modify(y);
        for (int x = 0; x < ObjectSize; ++x) {
            const double distance = std::hypot(x + 0.5 - Radius, y + 0.5 - Radius) / Radius;
            const auto alpha = distance < 1 ? static_cast<DWORD>(255 - 160 * distance) : 0;
            row[x] = alpha << 24 | static_cast<DWORD>(index * 12) << 16 | static_cast<DWORD>(x / 2) << 8 | (y / 2);
        }
    }
    image.setMaskFromTransparency(1);
    model->invalidate();
    model->setOrigin(POINT{(index % 5) * 800 + 50, (index / 5) * 950 + 100});
    return model;
}

std::unique_ptr<GCompoundModel> scene() {
    startUp();
    std::unique_ptr<GCompoundModel> root(background());
    for (int i = 0; i < ObjectCount; ++i)
        root->addChild(object(i));
    root->getCombinedImage();
    return root;
}

void BM_ComposeScene(benchmark::State& state) {
    const auto root = scene();
    for (auto _ : state) {
        root->invalidate();
        benchmark::DoNotOptimize(root->getCombinedImage().get_line_address(0));
    }
}
BENCHMARK(BM_ComposeScene)->Unit(benchmark::kMillisecond);

// One object moves 10 pixels to the right and back, and the scene is brought up to date each time.
void BM_MoveObjectAndRecompose(benchmark::State& state) {
    const auto root = scene();
    GCompoundModel* moved = root->getChild(7);
    int step = 10;
    for (auto _ : state) {
        const GPoint& origin = moved->getOrigin();
        moved->setOrigin(POINT{origin.x + step, origin.y});
        step = -step;
        benchmark::DoNotOptimize(root->getCombinedImage().get_line_address(0));
    }
}
BENCHMARK(BM_MoveObjectAndRecompose)->Unit(benchmark::kMillisecond);

void BM_Glow(benchmark::State& state) {
    startUp();
    GCompoundModel model(1024, 1024);
    GSprite& image = model.getModifiableImage();
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1024; ++x)
            image.set_pixel(x, y, std::hypot(x - 512, y - 512) < 500 + 12 * std::sin(x / 9.0) ? 0xFF336699 : 0);
    image.setMaskFromTransparency(1);
    model.invalidate();
    for (auto _ : state) {
        model.resetSoftGlowImage();
        benchmark::DoNotOptimize(model.softGlowImage().get_line_address(0));
    }
}
BENCHMARK(BM_Glow)->Unit(benchmark::kMillisecond);

std::vector<BYTE> sceneFile(const GCompoundModel& root) {
    ompstream stream;
    ASceneReaderWriter().write_image(stream, root);
    const auto* data = static_cast<const BYTE*>(stream.data());
    return std::vector<BYTE>(data, data + stream.length());
}

void BM_WriteScene(benchmark::State& state) {
    const auto root = scene();
    for (auto _ : state)
        benchmark::DoNotOptimize(sceneFile(*root).size());
    state.counters["bytes"] = static_cast<double>(sceneFile(*root).size());
}
BENCHMARK(BM_WriteScene)->Unit(benchmark::kMillisecond);

void BM_ReadScene(benchmark::State& state) {
    std::vector<BYTE> bytes = sceneFile(*scene());
    for (auto _ : state) {
        GCompoundModel read;
        impstream stream(bytes.data(), bytes.size());
        ASceneReaderWriter().read_image(stream, read);
        benchmark::DoNotOptimize(read.getChildCount());
    }
}
BENCHMARK(BM_ReadScene)->Unit(benchmark::kMillisecond);

#if KORVANE_BENCH_OPENCV
cv::Mat copyOf(const GSprite& sprite) {
    cv::Mat pixels(sprite.get_height(), sprite.get_width(), CV_8UC4);
    for (int y = 0; y < sprite.get_height(); ++y)
        sprite.get_hline(pixels.ptr<DWORD>(y), 0, y, sprite.get_width());
    return pixels;
}

// The same blend with OpenCV: the background copied, then each object laid over it by blendLinear with weights of
// its alpha (which is 0 wherever its mask is clear). The weights are made before timing, which favours OpenCV.
void BM_ComposeSceneOpenCV(benchmark::State& state) {
    const auto root = scene();
    const cv::Mat backdrop = copyOf(root->getImage());
    struct Layer {
        cv::Mat pixels, weights, rest;
        cv::Rect where;
    };
    std::vector<Layer> layers;
    for (int i = 0; i < root->getChildCount(); ++i) {
        const GCompoundModel& child = *root->getChild(i);
        Layer layer{copyOf(child.getImage()), {}, {}, {}};
        cv::Mat alpha;
        cv::extractChannel(layer.pixels, alpha, 3);
        alpha.convertTo(layer.weights, CV_32F, 1 / 255.0);
        layer.rest = 1 - layer.weights;
        layer.where = {child.getOrigin().x, child.getOrigin().y, ObjectSize, ObjectSize};
        layers.push_back(layer);
    }
    cv::Mat composed(SceneSize, SceneSize, CV_8UC4);
    for (auto _ : state) {
        backdrop.copyTo(composed);
        for (const Layer& layer : layers) {
            cv::Mat target = composed(layer.where);
            cv::blendLinear(layer.pixels, target, layer.weights, layer.rest, target);
        }
        benchmark::DoNotOptimize(composed.data);
    }
}
BENCHMARK(BM_ComposeSceneOpenCV)->Unit(benchmark::kMillisecond);
#endif

} // namespace
