#include "common/picture/AvcodecLibrary.h"

#include <dlfcn.h>

#include <string>

namespace {

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

// A program that links libavcodec itself (the emulator, the tests) is bound to it already:
// its own binding serves, and with it whatever the program puts in the library's place.
// Otherwise the library is loaded here, and kept for the program's life: decoders may be
// closed at its very end.
// RTLD_DEFAULT is a null handle: whether one was found is said apart.
bool OpenLibrary(void*& library) {
    library = RTLD_DEFAULT;
    if (::dlsym(RTLD_DEFAULT, "avcodec_find_decoder") != nullptr) return true;
    const std::string file = "libavcodec.so." + std::to_string(LIBAVCODEC_VERSION_MAJOR);
    library = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    return library != nullptr;
}

const AvcodecLibrary* Load() {
    void* library = nullptr;
    if (!OpenLibrary(library)) return nullptr;
    static AvcodecLibrary functions;
    AvcodecLibrary& f = functions;
    // dlsym on the handle also finds the libavutil functions, a dependency of libavcodec.
    const bool found = Find(library, "avcodec_find_decoder", f.find_decoder) &&
                       Find(library, "avcodec_alloc_context3", f.alloc_context3) &&
                       Find(library, "avcodec_open2", f.open2) &&
                       Find(library, "avcodec_send_packet", f.send_packet) &&
                       Find(library, "avcodec_receive_frame", f.receive_frame) &&
                       Find(library, "avcodec_free_context", f.free_context) &&
                       Find(library, "av_frame_alloc", f.frame_alloc) &&
                       Find(library, "av_frame_free", f.frame_free) &&
                       Find(library, "av_packet_alloc", f.packet_alloc) &&
                       Find(library, "av_packet_unref", f.packet_unref) &&
                       Find(library, "av_packet_free", f.packet_free) &&
                       Find(library, "av_buffer_alloc", f.buffer_alloc) &&
                       Find(library, "av_buffer_ref", f.buffer_ref) &&
                       Find(library, "av_buffer_unref", f.buffer_unref) &&
                       Find(library, "av_buffer_is_writable", f.buffer_is_writable);
    return found ? &functions : nullptr;
}

}  // namespace

const AvcodecLibrary* Avcodec() {
    static const AvcodecLibrary* const kLoaded = Load();
    return kLoaded;
}
