// Any bytes as a device store: loading must stay inside its buffers, and what it loads must
// survive a save and a load unchanged.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "UserStoreFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    UserStoreContent loaded;
    if (!IsLoaded(DecodeUserStore(std::span(data, size), loaded))) return 0;
    UserStoreContent again;
    if (DecodeUserStore(EncodeUserStore(loaded), again) != UssLoadStatus::kLoaded) std::abort();
    if (!(again == loaded)) std::abort();
    return 0;
}
