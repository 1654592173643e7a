#pragma once

#include <cstdint>

#include "common/picture/VideoDecoder.h"
#include "platform/surface/ScaledRow.h"

struct PlanarRowPlan;

// The rows of a 4:2:0 picture drawn nearest-neighbour into 32-bit pixels, straight from its
// planes in one pass, for CVideoSurface::DrawScaledRows. Colours are the 24-bit conversion's,
// bit for bit. A picture drawn smaller has the kept pixels picked first and converts only
// those; one drawn larger converts each source row once and repeats its pixels. The picks are
// planned once per size pair and thread.
class PlanarRows {
public:
    // The top-left width x height pixels of the planes, drawn dest_width pixels wide.
    PlanarRows(const DecodedPicture& planes, int width, int dest_width);

    void operator()(const ScaledRow& row) const;

private:
    // The whole destination row of source row src_y into out (dest_width_ pixels).
    void WriteRow(int src_y, std::uint32_t* out) const;
    void FetchRow(int src_y) const;

    DecodedPicture planes_;
    int width_;
    int dest_width_;
    PlanarRowPlan* plan_;  // this thread's, for the size pair
};
