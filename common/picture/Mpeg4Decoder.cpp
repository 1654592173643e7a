#include "common/picture/Mpeg4Decoder.h"

#include <cstring>
#include <mutex>

namespace {

// The interface generation the decoder is driven with (1.1.2).
constexpr int kXvidVersion = XVID_MAKE_VERSION(1, 1, 2);

// The library's global set-up writes process-wide tables and function pointers: run it only
// when the requested CPU flags change, never while another thread may be decoding with them.
int InitXvid(bool simd) {
    static std::mutex mutex;
    static bool initialised = false;
    static unsigned int initialised_flags = 0;
    const unsigned int flags = simd ? 0u : static_cast<unsigned int>(XVID_CPU_FORCE);
    std::lock_guard<std::mutex> lock(mutex);
    if (initialised && initialised_flags == flags) {
        return 0;
    }
    xvid_gbl_init_t init{};
    init.version = kXvidVersion;
    init.cpu_flags = flags;
    init.debug = 0;
    const int result = xvid_global(nullptr, XVID_GBL_INIT, &init, nullptr);
    if (result >= 0) {
        initialised = true;
        initialised_flags = flags;
    }
    return result;
}

size_t PictureBytes(long width, long height) {
    return width <= 0 || height <= 0 ? 0 : static_cast<size_t>(width * height * 3 / 2);
}

}  // namespace

CMpeg4Decoder::CMpeg4Decoder() = default;

CMpeg4Decoder::~CMpeg4Decoder() { Close(); }

int CMpeg4Decoder::Open(int simd, int width, int height) {
    if (handle_ != nullptr) {
        Close();
    }
    stream_width_ = 0;
    stream_height_ = 0;
    vol_width_ = 0;
    vol_height_ = 0;
    const int init = InitXvid(simd != 0);
    SetOpenedSize(width, height);
    if (init < 0) {
        return init;
    }
    xvid_dec_create_t create{};
    create.version = kXvidVersion;
    create.width = 0;  // taken from the stream
    create.height = 0;
    const int result = xvid_decore(nullptr, XVID_DEC_CREATE, &create, nullptr);
    handle_ = result < 0 ? nullptr : create.handle;
    status_ = 1;
    return result;
}

int CMpeg4Decoder::DecodeOnce(const uint8_t* data, uint8_t* output, int length,
                              xvid_dec_stats_t* statistics) {
    if (handle_ == nullptr) {
        return XVID_ERR_FAIL;
    }
    xvid_dec_frame_t frame{};
    frame.version = kXvidVersion;
    frame.general = 0;
    frame.bitstream = const_cast<uint8_t*>(data);
    frame.length = length;
    if (output != nullptr) {
        frame.output.csp = XVID_CSP_I420;
        frame.output.plane[0] = output;
        frame.output.stride[0] = stream_width_;
    } else {
        frame.output.csp = XVID_CSP_NULL;
    }
    frame.brightness = 0;
    *statistics = xvid_dec_stats_t{};
    statistics->version = kXvidVersion;
    return xvid_decore(handle_, XVID_DEC_DECODE, &frame, statistics);
}

bool CMpeg4Decoder::OutputFits(size_t output_size_bytes) const {
    // Rows are stream_width_ apart and the library writes the latest VOL's size.
    return vol_width_ > 0 && vol_width_ <= stream_width_ &&
           PictureBytes(stream_width_, vol_height_) <= output_size_bytes;
}

int CMpeg4Decoder::Decode(const uint8_t* data, int length, uint8_t* output) {
    return Decode(data, length, output, PictureBytes(OpenedWidth(), OpenedHeight()));
}

int CMpeg4Decoder::Decode(const uint8_t* data, int length, uint8_t* output,
                          size_t output_size_bytes) {
    wrote_picture_ = false;
    if (data == nullptr || output == nullptr || length < 0 || handle_ == nullptr) {
        return -1;
    }
    // The caller's payload may end right at the end of its memory.
    const auto length_bytes = static_cast<std::size_t>(length);
    padded_.resize(length_bytes + kInputPaddingBytes);
    std::memcpy(padded_.data(), data, length_bytes);
    std::memset(padded_.data() + length_bytes, 0, kInputPaddingBytes);
    data = padded_.data();
    for (;;) {
        const bool fits = OutputFits(output_size_bytes);
        xvid_dec_stats_t statistics;
        const int used = DecodeOnce(data, fits ? output : nullptr, length, &statistics);
        if (statistics.type == XVID_TYPE_VOL) {
            vol_width_ = statistics.data.vol.width;
            vol_height_ = statistics.data.vol.height;
            // The stream size only grows while the decoder stays open.
            if (static_cast<long>(vol_width_) * vol_height_ >
                static_cast<long>(stream_width_) * stream_height_) {
                stream_width_ = vol_width_;
                stream_height_ = vol_height_;
            }
        }
        if (used > 0) {
            const int consumed = used < length ? used : length;
            data += consumed;
            length -= consumed;
        }
        if (statistics.type > 0) {
            wrote_picture_ = fits;
            return fits ? 100 : -1;
        }
        if (length <= 1 || status_ < 0) {
            return 100;
        }
        if (used <= 0) {
            // Nothing consumed and no picture: the same call would repeat for ever.
            return used < 0 ? -1 : 100;
        }
    }
}

int CMpeg4Decoder::Destroy() {
    if (handle_ == nullptr) {
        return XVID_ERR_FAIL;  // the library would dereference the missing instance
    }
    const int result = xvid_decore(handle_, XVID_DEC_DESTROY, nullptr, nullptr);
    handle_ = nullptr;
    return result;
}

int CMpeg4Decoder::Close() {
    if (handle_ != nullptr) {
        status_ = Destroy();
    }
    return 100;
}

DecodeResult CMpeg4Decoder::DecodeFrame(const uint8_t* data, int length, uint8_t* picture,
                                        std::size_t picture_bytes) {
    if (Decode(data, length, picture, picture_bytes) < 0) return DecodeResult::kFailed;
    if (!wrote_picture_) return DecodeResult::kNoPicture;
    // The frame paths read the output as one picture of the size the decoder was opened for.
    const int width = OpenedWidth();
    const int height = OpenedHeight();
    if (width <= 0 || height <= 0 || PictureBytes(width, height) > picture_bytes) {
        return DecodeResult::kFailed;  // the output cannot hold a picture of the opened size
    }
    decoded_ = ContiguousPicture(picture, width, height);
    return DecodeResult::kPicture;
}
