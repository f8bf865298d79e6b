// Reading and writing a 4096 x 4096 photo-like picture in each built-in format, from and to files, beside
// OpenCV's imread and imwrite on the same files (when OpenCV's imgcodecs is present). Both sides use the same
// codec libraries for JPEG and PNG, so any gap there is copying around them.

#include "Bmp/BMPReaderWriter.h"
#include "Imaging/GDIBImage.h"
#include "Jpeg/JPEGReaderWriter.h"
#include "Png/PNGReaderWriter.h"
#include "Streams/fpstream.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#if KORVANE_BENCH_OPENCV_CODECS
#include <opencv2/imgcodecs.hpp>
#endif

namespace {

constexpr int Side = 4096;

// Smooth shapes with a little grain, as a photo has, so that the codecs work as they would on real pictures.
const GDIBImage& photo() {
    static const GDIBImage picture = [] {
        GDIBImage image(Side, Side);
        std::mt19937 random(7);
        for (int y = 0; y < Side; ++y) {
            DWORD* row = image.get_line_address_to_modify(y);
            for (int x = 0; x < Side; ++x) {
                const double r = 128 + 100 * std::sin(x * 0.004) * std::cos(y * 0.003);
                const double g = 128 + 90 * std::sin((x + y) * 0.002);
                const double b = 128 + 80 * std::cos(x * 0.001 - y * 0.005);
                const int grain = static_cast<int>(random() % 9) - 4;
                const auto channel = [&](double v) {
                    return static_cast<DWORD>(std::clamp(v + grain, 0.0, 255.0));
                };
                row[x] = 0xFF000000u | channel(r) << 16 | channel(g) << 8 | channel(b);
            }
        }
        return image;
    }();
    return picture;
}

std::string pathFor(const char* extension) {
    return (std::filesystem::temp_directory_path() / (std::string("korvane-bench.") + extension)).string();
}

template <class Format>
void writeFile(const char* extension) {
    ofpstream out(pathFor(extension).c_str());
    Format().write_image(out, photo());
}

template <class Format>
void readOurs(benchmark::State& state, const char* extension) {
    writeFile<Format>(extension);
    for (auto _ : state) {
        ifpstream in(pathFor(extension).c_str());
        GDIBImage image;
        Format().read_image(in, image);
        benchmark::DoNotOptimize(image.get_line_address(0));
    }
}

template <class Format>
void writeOurs(benchmark::State& state, const char* extension) {
    const GDIBImage& picture = photo();
    for (auto _ : state) {
        ofpstream out(pathFor(extension).c_str());
        Format().write_image(out, picture);
    }
}

void BM_ReadBmp(benchmark::State& state) {
    readOurs<BMPReaderWriter>(state, "bmp");
}
void BM_ReadJpeg(benchmark::State& state) {
    readOurs<JPEGReaderWriter>(state, "jpg");
}
void BM_ReadPng(benchmark::State& state) {
    readOurs<PNGReaderWriter>(state, "png");
}
void BM_WriteBmp(benchmark::State& state) {
    writeOurs<BMPReaderWriter>(state, "bmp");
}
void BM_WriteJpeg(benchmark::State& state) {
    writeOurs<JPEGReaderWriter>(state, "jpg");
}
void BM_WritePng(benchmark::State& state) {
    writeOurs<PNGReaderWriter>(state, "png");
}

BENCHMARK(BM_ReadBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePng)->Unit(benchmark::kMillisecond);

#if KORVANE_BENCH_OPENCV_CODECS

// OpenCV on the same files, with the same settings: JPEG quality 90, PNG compression level 6, BGRA pixels.
cv::Mat photoMat() {
    const GDIBImage& picture = photo();
    return cv::Mat(Side, Side, CV_8UC4, const_cast<DWORD*>(picture.get_line_address(0)));
}

template <class Format>
void readOpenCV(benchmark::State& state, const char* extension) {
    writeFile<Format>(extension);
    for (auto _ : state) {
        cv::Mat image = cv::imread(pathFor(extension), cv::IMREAD_UNCHANGED);
        benchmark::DoNotOptimize(image.data);
    }
}

void writeOpenCV(benchmark::State& state, const char* extension, const std::vector<int>& parameters) {
    const cv::Mat image = photoMat();
    for (auto _ : state)
        cv::imwrite(pathFor(extension), image, parameters);
}

void BM_ReadBmp_OpenCV(benchmark::State& state) {
    readOpenCV<BMPReaderWriter>(state, "bmp");
}
void BM_ReadJpeg_OpenCV(benchmark::State& state) {
    readOpenCV<JPEGReaderWriter>(state, "jpg");
}
void BM_ReadPng_OpenCV(benchmark::State& state) {
    readOpenCV<PNGReaderWriter>(state, "png");
}
void BM_WriteBmp_OpenCV(benchmark::State& state) {
    writeOpenCV(state, "bmp", {});
}
void BM_WriteJpeg_OpenCV(benchmark::State& state) {
    writeOpenCV(state, "jpg", {cv::IMWRITE_JPEG_QUALITY, 90});
}
void BM_WritePng_OpenCV(benchmark::State& state) {
    writeOpenCV(state, "png", {cv::IMWRITE_PNG_COMPRESSION, 6});
}

BENCHMARK(BM_ReadBmp_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadJpeg_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPng_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBmp_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteJpeg_OpenCV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePng_OpenCV)->Unit(benchmark::kMillisecond);

#endif

} // namespace
