// The image-processing library's heavy functions on 512 x 512 and 4096 x 4096 images, each beside the closest
// OpenCV function on the same data (when OpenCV is present): copy, composite, blur (also with kernels far larger
// than the image), resize, warp, HSV, dilate, threshold and PutImage. OpenCV runs on one thread, as the library does.

#include "Imaging/GDIBImage.h"
#include "Imaging/GDIBSection.h"
#include "Imaging/GIPLImage.h"
#include "Imaging/GIPL_ROI.h"
#include "ipl/ipl.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>

#if KORVANE_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

// A 32-bit image of noise with varying alpha.
GDIBImage noise(int size, unsigned seed = 1) {
    GDIBImage image(size, size);
    std::mt19937 random(seed);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            image.set_pixel(x, y, random());
    return image;
}

GIPLImage plain(int size, GIPLImage::ColorModel model) {
    GIPLImage image;
    image.allocate_image(size, size, model, 0);
    iplSet(image.get_image(), 0);
    return image;
}

void setBytes(benchmark::State& state, int size, int channels) {
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(size) * size * channels);
}

void Copy(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    GDIBImage a = noise(size), b(size, size);
    for (auto _ : state)
        iplCopy(a.get_image(), b.get_image());
    setBytes(state, size, 4);
}

// "Over" of two noise images into the second, plain or premultiplied, through a mask when asked.
void composeOver(benchmark::State& state, bool premultiplied, bool masked) {
    const int size = static_cast<int>(state.range(0));
    GDIBImage a = noise(size, 1), b = noise(size, 2);
    GDIBSection mask;
    if (masked) {
        mask.allocate_image(size, size, GIPLImage::Bitmap, 0);
        iplSet(mask.get_image(), 1);
        a.get_image()->maskROI = mask.get_image();
    }
    a.get_image()->alphaChannel = b.get_image()->alphaChannel = 4;
    for (auto _ : state)
        iplAlphaComposite(a.get_image(), b.get_image(), b.get_image(), IPL_COMPOSITE_OVER, nullptr, nullptr, nullptr,
                          premultiplied, false);
    a.get_image()->maskROI = nullptr;
    setBytes(state, size, 4);
}

void CompositeOver(benchmark::State& state) {
    composeOver(state, false, false);
}

// The off-screen drawing's composition: premultiplied colours.
void CompositeOverPremultiplied(benchmark::State& state) {
    composeOver(state, true, false);
}

void CompositeOverMasked(benchmark::State& state) {
    composeOver(state, false, true);
}

void Blur(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const int kernel = static_cast<int>(state.range(1));
    GDIBImage a = noise(size), b(size, size);
    for (auto _ : state)
        iplBlur(a.get_image(), b.get_image(), kernel, kernel, kernel / 2, kernel / 2);
    setBytes(state, size, 4);
}

void Resize(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const int mode = static_cast<int>(state.range(1));
    const bool up = state.range(2) != 0;
    GDIBImage a = noise(size);
    GDIBImage b(up ? size * 2 : size / 2, up ? size * 2 : size / 2);
    for (auto _ : state)
        iplResize(a.get_image(), b.get_image(), up ? 2 : 1, up ? 1 : 2, up ? 2 : 1, up ? 1 : 2, mode);
    setBytes(state, size, 4);
}

void WarpRotate(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    GDIBImage a = noise(size), b(size, size);
    const double angle = 30 * 3.14159265358979 / 180;
    const double c = std::cos(angle), s = std::sin(angle);
    const double coeffs[2][3] = {{c, -s, size / 2.0 - c * size / 2.0 + s * size / 2.0},
                                 {s, c, size / 2.0 - s * size / 2.0 - c * size / 2.0}};
    for (auto _ : state)
        iplWarpAffine(a.get_image(), b.get_image(), coeffs, IPL_INTER_LINEAR | IPL_SMOOTH_EDGE);
    setBytes(state, size, 4);
}

void HsvRoundTrip(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    GDIBImage a = noise(size);
    GIPLImage hsv = plain(size, GIPLImage::Colour);
    for (auto _ : state) {
        iplRGB2HSV(a.get_image(), hsv.get_image());
        iplHSV2RGB(hsv.get_image(), a.get_image());
    }
    setBytes(state, size, 4);
}

void Dilate(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    GDIBImage a = noise(size), b(size, size);
    for (auto _ : state)
        iplDilate(a.get_image(), b.get_image(), 1);
    setBytes(state, size, 4);
}

void ThresholdToBits(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    GIPLImage grey = plain(size, GIPLImage::Grey);
    GDIBSection mask;
    mask.allocate_image(size, size, GIPLImage::Bitmap, 0);
    for (auto _ : state)
        iplThreshold(grey.get_image(), mask.get_image(), 128);
    setBytes(state, size, 1);
}

void PutMaskedSprite(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    GDIBImage target = noise(size, 1), sprite = noise(size / 2, 2);
    GDIBSection mask;
    mask.allocate_image(size / 2, size / 2, GIPLImage::Bitmap, 0);
    iplSet(mask.get_image(), 1);
    GIPLCompositionMode over(0);
    for (auto _ : state)
        GIPLImage::PutImage(nullptr, target.get_image(), nullptr, POINT{size / 4, size / 4}, sprite.get_image(),
                            mask.get_image(), over);
    setBytes(state, size / 2, 4);
}

#if KORVANE_BENCH_OPENCV

// The library works on one thread; OpenCV is held to one as well, so that the figures compare like with like.
const bool openCvOnOneThread = (cv::setNumThreads(1), true);

cv::Mat cvNoise(int size, unsigned seed = 1) {
    cv::Mat image(size, size, CV_8UC4);
    cv::randu(image, cv::Scalar::all(0), cv::Scalar::all(255));
    (void)seed;
    return image;
}

void CvCopy(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    cv::Mat a = cvNoise(size), b(size, size, CV_8UC4);
    for (auto _ : state)
        a.copyTo(b);
    setBytes(state, size, 4);
}

// The nearest OpenCV operation to compositing: a per-pixel weighted blend.
void CvBlendLinear(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    cv::Mat a = cvNoise(size), b = cvNoise(size, 2), out;
    cv::Mat wa(size, size, CV_32F, cv::Scalar(0.5)), wb(size, size, CV_32F, cv::Scalar(0.5));
    for (auto _ : state)
        cv::blendLinear(a, b, wa, wb, out);
    setBytes(state, size, 4);
}

void CvBlur(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const int kernel = static_cast<int>(state.range(1));
    cv::Mat a = cvNoise(size), b;
    for (auto _ : state)
        cv::blur(a, b, cv::Size(kernel, kernel), cv::Point(-1, -1), cv::BORDER_CONSTANT);
    setBytes(state, size, 4);
}

void CvResize(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    const int modes[] = {cv::INTER_NEAREST, cv::INTER_LINEAR, cv::INTER_CUBIC, cv::INTER_AREA};
    const int mode = modes[state.range(1)];
    const bool up = state.range(2) != 0;
    cv::Mat a = cvNoise(size), b;
    const cv::Size target(up ? size * 2 : size / 2, up ? size * 2 : size / 2);
    for (auto _ : state)
        cv::resize(a, b, target, 0, 0, mode);
    setBytes(state, size, 4);
}

void CvWarpRotate(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    cv::Mat a = cvNoise(size), b(size, size, CV_8UC4);
    const cv::Mat m = cv::getRotationMatrix2D(cv::Point2f(size / 2.0f, size / 2.0f), 30, 1);
    for (auto _ : state)
        cv::warpAffine(a, b, m, b.size(), cv::INTER_LINEAR, cv::BORDER_TRANSPARENT);
    setBytes(state, size, 4);
}

void CvHsvRoundTrip(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    cv::Mat a(size, size, CV_8UC3), hsv;
    cv::randu(a, cv::Scalar::all(0), cv::Scalar::all(255));
    for (auto _ : state) {
        cv::cvtColor(a, hsv, cv::COLOR_BGR2HSV_FULL);
        cv::cvtColor(hsv, a, cv::COLOR_HSV2BGR_FULL);
    }
    setBytes(state, size, 4);
}

void CvDilate(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    cv::Mat a = cvNoise(size), b;
    const cv::Mat element = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3));
    for (auto _ : state)
        cv::dilate(a, b, element);
    setBytes(state, size, 4);
}

void CvThreshold(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    cv::Mat a(size, size, CV_8UC1, cv::Scalar(0)), b;
    for (auto _ : state)
        cv::threshold(a, b, 127, 255, cv::THRESH_BINARY);
    setBytes(state, size, 1);
}

void CvCopyMasked(benchmark::State& state) {
    const int size = static_cast<int>(state.range(0));
    cv::Mat target = cvNoise(size), sprite = cvNoise(size / 2, 2);
    cv::Mat mask(size / 2, size / 2, CV_8UC1, cv::Scalar(1));
    cv::Mat place = target(cv::Rect(size / 4, size / 4, size / 2, size / 2));
    for (auto _ : state)
        sprite.copyTo(place, mask);
    setBytes(state, size / 2, 4);
}

#endif

} // namespace

#define SIZES ->Arg(512)->Arg(4096)->Unit(benchmark::kMillisecond)

BENCHMARK(Copy) SIZES;
BENCHMARK(CompositeOver) SIZES;
BENCHMARK(CompositeOverPremultiplied) SIZES;
BENCHMARK(CompositeOverMasked) SIZES;
BENCHMARK(Blur)->Args({512, 3})->Args({512, 15})->Args({4096, 3})->Args({4096, 15})->Unit(benchmark::kMillisecond);
// Kernels far larger than the image, summed through their counts of each pixel.
BENCHMARK(Blur)->Args({512, 65536})->Args({4096, 65536})->Unit(benchmark::kMillisecond);
BENCHMARK(Resize)
    ->ArgsProduct({{512, 4096}, {IPL_INTER_NN, IPL_INTER_LINEAR, IPL_INTER_SUPER}, {0}})
    ->ArgsProduct({{512, 4096}, {IPL_INTER_NN, IPL_INTER_LINEAR}, {1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WarpRotate) SIZES;
BENCHMARK(HsvRoundTrip) SIZES;
BENCHMARK(Dilate) SIZES;
BENCHMARK(ThresholdToBits) SIZES;
BENCHMARK(PutMaskedSprite) SIZES;

#if KORVANE_BENCH_OPENCV
BENCHMARK(CvCopy) SIZES;
BENCHMARK(CvBlendLinear) SIZES;
BENCHMARK(CvBlur)->Args({512, 3})->Args({512, 15})->Args({4096, 3})->Args({4096, 15})->Unit(benchmark::kMillisecond);
BENCHMARK(CvResize)
    ->ArgsProduct({{512, 4096}, {0, 1, 3}, {0}})
    ->ArgsProduct({{512, 4096}, {0, 1}, {1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CvWarpRotate) SIZES;
BENCHMARK(CvHsvRoundTrip) SIZES;
BENCHMARK(CvDilate) SIZES;
BENCHMARK(CvThreshold) SIZES;
BENCHMARK(CvCopyMasked) SIZES;
#endif
