// GDI drawing on bitmaps beside OpenCV (when present), on 4096 x 4096 images: a lasso polygon of 10,000 vertices
// filled into a one-bit mask (OpenCV: fillPoly on an 8-bit image), and a flood fill over an image of walls with
// gaps (OpenCV: floodFill with no tolerance); and 1,000 lines of text of 40 characters (lines per second).

#include "gdi/GdiObjects.h"
#include "gdi/WinGdi.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#if KORVANE_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int Size = 4096;

// A lasso of 10,000 points round the centre at a wavering distance: smooth, as a hand draws it (0), or jagged,
// every point jumping up to 60 pixels in or out, so that rows cross many edges (1).
std::vector<POINT> lasso(bool jagged) {
    std::vector<POINT> points;
    std::mt19937 random(7);
    constexpr int Count = 10000;
    double drift = 0;
    for (int i = 0; i < Count; ++i) {
        const double angle = 2 * M_PI * i / Count;
        drift = std::clamp(drift + static_cast<int>(random() % 5) - 2, -60.0, 60.0);
        const double wobble = jagged ? static_cast<int>(random() % 60) : drift;
        const double radius = 1700 + 250 * std::sin(angle * 37) + wobble;
        points.push_back({static_cast<LONG>(Size / 2 + radius * std::cos(angle)),
                          static_cast<LONG>(Size / 2 + radius * std::sin(angle))});
    }
    return points;
}

// A DIB section of the depth, selected into a memory context.
struct Canvas {
    explicit Canvas(int bits) : dc(CreateCompatibleDC(nullptr)) {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[256];
        } info{};
        info.header = {sizeof(BITMAPINFOHEADER), Size, -Size, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
        for (int i = 0; i < 256; ++i)
            info.colours[i] = {BYTE(i), BYTE(i), BYTE(i), 0};
        info.colours[1] = bits == 1 ? RGBQUAD{255, 255, 255, 0} : info.colours[1];
        bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits_, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    void* bits_ = nullptr;
};

void LassoFill(benchmark::State& state) {
    const std::vector<POINT> points = lasso(state.range(0) == 1);
    Canvas mask(1);
    SelectObject(mask.dc, static_cast<HPEN>(GetStockObject(WHITE_PEN)));
    SelectObject(mask.dc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (auto _ : state)
        Polygon(mask.dc, points.data(), static_cast<int>(points.size()));
}

// Walls every 64 pixels across and down, each with a gap, so the fill winds through the whole image.
void drawWalls(BYTE* pixels, int stride) {
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const bool wall = (x % 64 == 63 && y % 256 != 128) || (y % 64 == 63 && x % 256 != 32);
            pixels[static_cast<std::size_t>(y) * stride + x] = wall ? 128 : 0;
        }
}

void FloodFill(benchmark::State& state) {
    Canvas image(8);
    auto* pixels = static_cast<BYTE*>(image.bits_);
    drawWalls(pixels, Size);
    const std::vector<BYTE> walls(pixels, pixels + static_cast<std::size_t>(Size) * Size);
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    SelectObject(image.dc, white);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(pixels, walls.data(), walls.size());
        state.ResumeTiming();
        ExtFloodFill(image.dc, 1, 1, RGB(0, 0, 0), FLOODFILLSURFACE);
    }
    SelectObject(image.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(white);
}

void TextLines(benchmark::State& state) {
    Canvas image(32);
    LOGFONTA description{};
    description.lfHeight = -16;
    std::strcpy(description.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ old = SelectObject(image.dc, font);
    SetBkMode(image.dc, TRANSPARENT);
    const char* line = "The quick brown fox jumps over the lazy d"; // 40 characters
    for (auto _ : state)
        for (int i = 0; i < 1000; ++i) {
            RECT where{0, (i * 4) % (Size - 20), Size, Size};
            DrawTextA(image.dc, line, 40, &where, DT_NOPREFIX | DT_SINGLELINE);
        }
    state.counters["lines/s"] =
        benchmark::Counter(1000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    SelectObject(image.dc, old);
    DeleteObject(font);
}

#if KORVANE_BENCH_OPENCV
void OpenCvFillPoly(benchmark::State& state) {
    const std::vector<POINT> points = lasso(state.range(0) == 1);
    std::vector<cv::Point> contour;
    for (const POINT& p : points)
        contour.emplace_back(p.x, p.y);
    cv::Mat mask(Size, Size, CV_8UC1, cv::Scalar(0));
    for (auto _ : state) {
        cv::fillPoly(mask, std::vector<std::vector<cv::Point>>{contour}, cv::Scalar(255));
        cv::polylines(mask, std::vector<std::vector<cv::Point>>{contour}, true, cv::Scalar(255));
    }
}

void OpenCvFloodFill(benchmark::State& state) {
    cv::Mat image(Size, Size, CV_8UC1);
    drawWalls(image.data, Size);
    const cv::Mat walls = image.clone();
    for (auto _ : state) {
        state.PauseTiming();
        walls.copyTo(image);
        state.ResumeTiming();
        cv::floodFill(image, cv::Point(1, 1), cv::Scalar(255), nullptr, cv::Scalar(0), cv::Scalar(0), 4);
    }
}
BENCHMARK(OpenCvFillPoly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCvFloodFill)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK(LassoFill)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FloodFill)->Unit(benchmark::kMillisecond);
BENCHMARK(TextLines)->Unit(benchmark::kMillisecond);
