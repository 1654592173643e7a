#pragma once

#include <cstddef>
#include <cstdint>

// Motion-adaptive deinterlacer for packed 4:2:2 frames (Y0 U Y1 V) that hold their first field's
// rows and then their second field's rows. Block by block it weaves where the second field
// barely changed since the previous frame and rebuilds the odd rows from the first field by
// edge-directed interpolation where it moved. Works in place.
class CDeinterlacer {
public:
    CDeinterlacer();
    virtual ~CDeinterlacer();
    CDeinterlacer(const CDeinterlacer&) = delete;
    CDeinterlacer& operator=(const CDeinterlacer&) = delete;

    // Sizes the deinterlacer for frames of width x height with rows of stride pixels: picks the
    // block size and allocates both field buffers anew.
    void SetFrameSize(int width, int height, int stride);
    // Deinterlaces one frame in place. Returns 0 when enabled is 0 (frame untouched), 1 when
    // done, or -1 (frame untouched) for a frame larger than the sizing or with width > stride.
    int Process(uint8_t* frame, int width, int height, int enabled, int stride);

    int BlockWidth() const { return block_width_; }
    int BlockHeight() const { return block_height_; }

private:
    struct Buffer {
        uint8_t* raw = nullptr;
        uint8_t* aligned = nullptr;
    };

    void FreeBuffers();
    bool IsMoving(const uint8_t* fresh, const uint8_t* previous, int pitch, int x0, int k0,
                  int block_w, int rows) const;
    static void Weave(uint8_t* frame, const uint8_t* first, const uint8_t* second, int pitch,
                      int x0, int k0, int block_w, int rows);
    static void Interpolate(uint8_t* frame, const uint8_t* first, int pitch, int x0, int k0,
                            int block_w, int rows, bool skip_top_pair);

    Buffer buffers_[2];
    size_t buffer_bytes_ = 0;  // usable bytes at each aligned start
    int started_ = 0;
    int blocks_across_ = 0;
    int blocks_down_ = 0;
    int current_ = 0;  // buffer holding the previous frame
    int block_width_ = 0;
    int block_height_ = 0;
};
