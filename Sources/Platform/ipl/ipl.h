#pragma once
// The image-processing library the system's pixel work goes through: IPL's image header, region-of-interest
// and kernel records, constants and functions, with IPL's names, argument orders and semantics, implemented on
// our own.
//
// General rules (as IPL's): an operation covers the overlap of the images' regions of interest aligned at their
// top-left corners; a channel of interest restricts it to one channel; a mask image (one bit per pixel, 1 =
// take part) on any image restricts it further; when a header names an alpha channel and no channel of interest
// is set, the alpha channel is neither read nor written except by compositing and geometric functions. Every
// function accepts its output as one of its inputs. Unsupported depth or channel combinations change nothing.
// Results saturate to the depth's range; fractional results are rounded half up.

#include <cstdint>

struct IplROI {
    int coi; // channel of interest, 1-based; 0 = all
    int xOffset;
    int yOffset;
    int width;
    int height;
};

struct IplTileInfo;

struct IplImage {
    int nSize;
    int ID;
    int nChannels;
    int alphaChannel; // 1-based; 0 = none
    int depth;
    char colorModel[4];
    char channelSeq[4];
    int dataOrder;
    int origin;
    int align;
    int width;
    int height;
    IplROI* roi;
    IplImage* maskROI;
    void* imageId;
    IplTileInfo* tileInfo;
    int imageSize;
    char* imageData;
    int widthStep;
    int BorderMode[4];
    int BorderConst[4];
    char* imageDataOrigin;
};

struct IplConvKernel {
    int nCols;
    int nRows;
    int anchorX;
    int anchorY;
    int* values;
    int nShiftR;
};

using IPLStatus = int;
inline constexpr IPLStatus IPL_StsOk = 0;
inline constexpr IPLStatus IPL_StsBadArg = -5;

// Depths
inline constexpr int IPL_DEPTH_SIGN = static_cast<int>(0x80000000u);
inline constexpr int IPL_DEPTH_MASK = 0x7FFFFFFF;
inline constexpr int IPL_DEPTH_1U = 1;
inline constexpr int IPL_DEPTH_8U = 8;
inline constexpr int IPL_DEPTH_16U = 16;
inline constexpr int IPL_DEPTH_32F = 32;
inline constexpr int IPL_DEPTH_8S = IPL_DEPTH_SIGN | 8;
inline constexpr int IPL_DEPTH_16S = IPL_DEPTH_SIGN | 16;
inline constexpr int IPL_DEPTH_32S = IPL_DEPTH_SIGN | 32;

// Layout
inline constexpr int IPL_DATA_ORDER_PIXEL = 0;
inline constexpr int IPL_DATA_ORDER_PLANE = 1;
inline constexpr int IPL_ORIGIN_TL = 0;
inline constexpr int IPL_ORIGIN_BL = 1;
inline constexpr int IPL_ALIGN_4BYTES = 4;
inline constexpr int IPL_ALIGN_8BYTES = 8;
inline constexpr int IPL_ALIGN_DWORD = IPL_ALIGN_4BYTES;
inline constexpr int IPL_ALIGN_QWORD = IPL_ALIGN_8BYTES;

// Borders
inline constexpr int IPL_BORDER_CONSTANT = 0;
inline constexpr int IPL_BORDER_REPLICATE = 1;
inline constexpr int IPL_BORDER_REFLECT = 2;
inline constexpr int IPL_BORDER_WRAP = 3;
inline constexpr int IPL_SIDE_TOP_INDEX = 0;
inline constexpr int IPL_SIDE_BOTTOM_INDEX = 1;
inline constexpr int IPL_SIDE_LEFT_INDEX = 2;
inline constexpr int IPL_SIDE_RIGHT_INDEX = 3;
inline constexpr int IPL_SIDE_TOP = 1 << IPL_SIDE_TOP_INDEX;
inline constexpr int IPL_SIDE_BOTTOM = 1 << IPL_SIDE_BOTTOM_INDEX;
inline constexpr int IPL_SIDE_LEFT = 1 << IPL_SIDE_LEFT_INDEX;
inline constexpr int IPL_SIDE_RIGHT = 1 << IPL_SIDE_RIGHT_INDEX;
inline constexpr int IPL_SIDE_ALL = 15;

// iplDeallocate
inline constexpr int IPL_IMAGE_HEADER = 1;
inline constexpr int IPL_IMAGE_DATA = 2;
inline constexpr int IPL_IMAGE_ROI = 4;
inline constexpr int IPL_IMAGE_TILE = 8;
inline constexpr int IPL_IMAGE_MASK = 16;
inline constexpr int IPL_IMAGE_ALL = 31;
inline constexpr int IPL_IMAGE_ALL_WITHOUT_MASK = 15;

// Interpolation
inline constexpr int IPL_INTER_NN = 0;
inline constexpr int IPL_INTER_LINEAR = 1;
inline constexpr int IPL_INTER_CUBIC = 2;
inline constexpr int IPL_INTER_SUPER = 3;
inline constexpr int IPL_SMOOTH_EDGE = 16;

// Compositing
inline constexpr int IPL_COMPOSITE_OVER = 0;
inline constexpr int IPL_COMPOSITE_IN = 1;
inline constexpr int IPL_COMPOSITE_OUT = 2;
inline constexpr int IPL_COMPOSITE_ATOP = 3;
inline constexpr int IPL_COMPOSITE_XOR = 4;
inline constexpr int IPL_COMPOSITE_PLUS = 5;

// Norms
inline constexpr int IPL_C = 1;
inline constexpr int IPL_L1 = 2;
inline constexpr int IPL_L2 = 4;
inline constexpr int IPL_RELATIVE = 8;
inline constexpr int IPL_RELATIVEC = IPL_RELATIVE | IPL_C;
inline constexpr int IPL_RELATIVEL1 = IPL_RELATIVE | IPL_L1;
inline constexpr int IPL_RELATIVEL2 = IPL_RELATIVE | IPL_L2;

// Fixed filters
enum IplFilter {
    IPL_PREWITT_3x3_V = 0,
    IPL_PREWITT_3x3_H,
    IPL_SOBEL_3x3_V,
    IPL_SOBEL_3x3_H,
    IPL_LAPLACIAN_3x3,
    IPL_LAPLACIAN_5x5,
    IPL_GAUSSIAN_3x3,
    IPL_GAUSSIAN_5x5,
    IPL_HIPASS_3x3,
    IPL_HIPASS_5x5,
    IPL_SHARPEN_3x3,
};

// Creation and housekeeping
IplImage* iplCreateImageHeader(int nChannels, int alphaChannel, int depth, const char* colorModel,
                               const char* channelSeq, int dataOrder, int origin, int align, int width, int height,
                               IplROI* roi, IplImage* maskROI, void* imageId, IplTileInfo* tileInfo);
void iplAllocateImage(IplImage* image, int doFill, int fillValue);
void iplDeallocate(IplImage* image, int flag);
void iplSetBorderMode(IplImage* image, int mode, int border, int constVal);
void iplPutPixel(IplImage* image, int x, int y, void* pixel);

// Data exchange
void iplCopy(IplImage* srcImage, IplImage* dstImage);
void iplSet(IplImage* image, int fillValue);
void iplConvert(IplImage* srcImage, IplImage* dstImage);

// Arithmetic and logic
void iplAddS(IplImage* srcImage, IplImage* dstImage, int value);
void iplSubtractS(IplImage* srcImage, IplImage* dstImage, int value, bool flip);
void iplMultiplyS(IplImage* srcImage, IplImage* dstImage, int value);
void iplMultiplySScale(IplImage* srcImage, IplImage* dstImage, int value);
void iplAdd(IplImage* srcImageA, IplImage* srcImageB, IplImage* dstImage);
void iplAnd(IplImage* srcImageA, IplImage* srcImageB, IplImage* dstImage);
void iplXor(IplImage* srcImageA, IplImage* srcImageB, IplImage* dstImage);
void iplXorS(IplImage* srcImage, IplImage* dstImage, unsigned int value);

// Compositing
void iplAlphaComposite(IplImage* srcImageA, IplImage* srcImageB, IplImage* dstImage, int compositeType,
                       IplImage* alphaImageA, IplImage* alphaImageB, IplImage* alphaImageDst, bool premulAlpha,
                       bool divideMode);
void iplPreMultiplyAlpha(IplImage* image, int alphaValue);

// Filters and morphology
void iplBlur(IplImage* srcImage, IplImage* dstImage, int nCols, int nRows, int anchorX, int anchorY);
IPLStatus iplFixedFilter(IplImage* srcImage, IplImage* dstImage, IplFilter filter);
void iplDilate(IplImage* srcImage, IplImage* dstImage, int nIterations);

// Thresholds and comparisons
void iplThreshold(IplImage* srcImage, IplImage* dstImage, int threshold);
IPLStatus iplGreaterS(IplImage* srcImage, int value, IplImage* dstImage);
IPLStatus iplLessS(IplImage* srcImage, int value, IplImage* dstImage);

// Statistics
double iplNorm(IplImage* srcImageA, IplImage* srcImageB, int normType);

// Colour conversion
void iplRGB2HSV(IplImage* rgbImage, IplImage* hsvImage);
void iplHSV2RGB(IplImage* hsvImage, IplImage* rgbImage);
void iplBitonalToGray(IplImage* srcImage, IplImage* dstImage, int zeroScale, int oneScale);

// Geometric transforms
void iplResize(IplImage* srcImage, IplImage* dstImage, int xDst, int xSrc, int yDst, int ySrc, int interpolate);
void iplMirror(IplImage* srcImage, IplImage* dstImage, int flipAxis);
void iplWarpAffine(IplImage* srcImage, IplImage* dstImage, const double coeffs[2][3], int interpolate);
void iplGetAffineBound(IplImage* image, const double coeffs[2][3], double rect[2][2]);
void iplGetAffineTransform(IplImage* image, double coeffs[2][3], const double quad[4][2]);
