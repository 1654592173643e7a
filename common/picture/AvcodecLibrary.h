#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/buffer.h>
#include <libavutil/frame.h>
}

// The libavcodec functions the H.264 decoders call (and the libavutil ones they reach through
// it), loaded on first use. A program linked against libavcodec has all of its dozens of
// dependencies mapped and bound before main runs, which cost the live view's start-up more
// than all of its own work before the window shows.
struct AvcodecLibrary {
    decltype(&avcodec_find_decoder) find_decoder;
    decltype(&avcodec_alloc_context3) alloc_context3;
    decltype(&avcodec_open2) open2;
    decltype(&avcodec_send_packet) send_packet;
    decltype(&avcodec_receive_frame) receive_frame;
    decltype(&avcodec_free_context) free_context;
    decltype(&av_frame_alloc) frame_alloc;
    decltype(&av_frame_free) frame_free;
    decltype(&av_packet_alloc) packet_alloc;
    decltype(&av_packet_unref) packet_unref;
    decltype(&av_packet_free) packet_free;
    decltype(&av_buffer_alloc) buffer_alloc;
    decltype(&av_buffer_ref) buffer_ref;
    decltype(&av_buffer_unref) buffer_unref;
    decltype(&av_buffer_is_writable) buffer_is_writable;
};

// The library of the major version the program was built against, loaded once by the first
// caller (from any thread); null when it cannot be loaded or lacks a function, and then every
// decoder fails to open.
const AvcodecLibrary* Avcodec();
