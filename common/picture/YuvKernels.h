#pragma once

#include <cstdint>

// Row kernels behind the colour conversions. Every kernel gives the same bytes as the table
// rule; the wide ones leave the last few pixels of a row to the scalar kernels.
namespace yuv {

enum class Kernel {
    kPortable,  // scalar 24-bit rows, SSE2 packed rows
    kAvx2,
};

Kernel BestKernel();

// One or two luma rows (y1 and d1 null for one) sharing one chroma row; pixels from `from` on.
void Bgr24RowsScalar(const uint8_t* y0, const uint8_t* y1, const uint8_t* u, const uint8_t* v,
                     uint8_t* d0, uint8_t* d1, int from, int width);
// Returns how many pixels it converted (a multiple of 32).
int Bgr24RowsAvx2(const uint8_t* y0, const uint8_t* y1, const uint8_t* u, const uint8_t* v,
                  uint8_t* d0, uint8_t* d1, int width);

// One row with a chroma sample per pixel (as a scaled draw picks them); pixels from `from` on.
void Bgr24Row444Scalar(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d, int from,
                       int width);
// Returns how many pixels it converted (a multiple of 32).
int Bgr24Row444Avx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d, int width);

// 32-bit pixels 0xAARRGGBB (alpha 0xFF) of the same colours, as a window's surface holds them:
// one row with its chroma row (pixel j takes chroma j / 2), or one with a chroma sample per
// pixel; pixels from `from` on.
void Argb420RowScalar(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d, int from,
                      int width);
void Argb444RowScalar(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d, int from,
                      int width);
// Every ratio-th pixel of a row with its chroma row (pixel j of the row takes y[ratio j] and
// chroma ratio j / 2), as a picture drawn at a half or a quarter of its width takes them.
void ArgbStridedRowScalar(int ratio, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                          uint32_t* d, int from, int width);
// Return how many pixels they converted (a multiple of 32).
int Argb420RowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d, int width);
int Argb444RowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d, int width);
int ArgbHalfRowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d, int width);
int ArgbQuarterRowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d,
                       int width);

void Yuy2RowScalar(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d, int from,
                   int width);
int Yuy2RowSse2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d, int width);
int Yuy2RowAvx2(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d, int width);

// Whole pictures through one kernel family (the public functions use BestKernel()).
void Bgr24Picture(Kernel kernel, const uint8_t* luma, const uint8_t* u, const uint8_t* v, int width,
                  int height, int pitch_bytes, uint8_t* destination);
void Yuy2Picture(Kernel kernel, const uint8_t* luma, const uint8_t* u, const uint8_t* v,
                 uint8_t* destination, int width, int height);

}  // namespace yuv
