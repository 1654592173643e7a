#include "common/picture/YuvKernels.h"
#include "common/picture/YuvTables.h"

namespace yuv {

namespace {

inline uint8_t Clamp(int value) {
    return static_cast<uint8_t>(value > 255 ? 255 : (value < 0 ? 0 : value));
}

void Bgr24Row(const YuvTables& t, const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d,
              int from, int width) {
    for (int j = from; j < width; ++j) {
        const int luma = y[j];
        const int cu = u[j >> 1];
        const int cv = v[j >> 1];
        uint8_t* pixel = d + 3 * j;
        pixel[0] = Clamp(luma + t.u_to_blue[cu]);
        pixel[1] = Clamp(luma - t.u_to_green[cu] - t.v_to_green[cv]);
        pixel[2] = Clamp(luma + t.v_to_red[cv]);
    }
}

}  // namespace

void Bgr24RowsScalar(const uint8_t* y0, const uint8_t* y1, const uint8_t* u, const uint8_t* v,
                     uint8_t* d0, uint8_t* d1, int from, int width) {
    const YuvTables& tables = GetYuvTables();
    Bgr24Row(tables, y0, u, v, d0, from, width);
    if (y1 != nullptr) {
        Bgr24Row(tables, y1, u, v, d1, from, width);
    }
}

void Bgr24Row444Scalar(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d, int from,
                       int width) {
    const YuvTables& t = GetYuvTables();
    for (int j = from; j < width; ++j) {
        const int luma = y[j];
        const int cu = u[j];
        const int cv = v[j];
        uint8_t* pixel = d + 3 * j;
        pixel[0] = Clamp(luma + t.u_to_blue[cu]);
        pixel[1] = Clamp(luma - t.u_to_green[cu] - t.v_to_green[cv]);
        pixel[2] = Clamp(luma + t.v_to_red[cv]);
    }
}

namespace {

inline uint32_t Argb(const YuvTables& t, int luma, int cu, int cv) {
    return 0xFF000000u | uint32_t{Clamp(luma + t.v_to_red[cv])} << 16 |
           uint32_t{Clamp(luma - t.u_to_green[cu] - t.v_to_green[cv])} << 8 |
           Clamp(luma + t.u_to_blue[cu]);
}

}  // namespace

void Argb420RowScalar(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d, int from,
                      int width) {
    const YuvTables& t = GetYuvTables();
    for (int j = from; j < width; ++j)
        d[j] = Argb(t, y[j], u[j >> 1], v[j >> 1]);
}

void Argb444RowScalar(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint32_t* d, int from,
                      int width) {
    const YuvTables& t = GetYuvTables();
    for (int j = from; j < width; ++j)
        d[j] = Argb(t, y[j], u[j], v[j]);
}

void ArgbStridedRowScalar(int ratio, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                          uint32_t* d, int from, int width) {
    const YuvTables& t = GetYuvTables();
    for (int j = from; j < width; ++j) {
        const int chroma = ratio * j / 2;
        d[j] = Argb(t, y[ratio * j], u[chroma], v[chroma]);
    }
}

void Yuy2RowScalar(const uint8_t* y, const uint8_t* u, const uint8_t* v, uint8_t* d, int from,
                   int width) {
    int j = from;
    for (; j + 1 < width; j += 2) {
        uint8_t* pair = d + 2 * j;
        pair[0] = y[j];
        pair[1] = u[j >> 1];
        pair[2] = y[j + 1];
        pair[3] = v[j >> 1];
    }
    if (j < width) {
        // The row is 2 x width bytes: an odd last pixel has room for its Y and U only.
        d[2 * j] = y[j];
        d[2 * j + 1] = u[j >> 1];
    }
}

}  // namespace yuv
