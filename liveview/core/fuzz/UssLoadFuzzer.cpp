// Any bytes as a device store: loading must stay inside its buffers, and what it loads must
// survive a save and a load unchanged. Short inputs are repeated up to a whole store, since
// the decoder refuses anything shorter.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "liveview/core/store/UserStoreFormat.h"
#include "liveview/core/store/UssLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::vector<uint8_t> store(std::max(size, kUssFileBytes));
    for (size_t at = 0; at < store.size(); at += size) {
        std::memcpy(store.data() + at, data, std::min(size, store.size() - at));
    }
    UserStoreContent loaded;
    if (!IsLoaded(DecodeUserStore(store, loaded))) std::abort();
    UserStoreContent again;
    if (DecodeUserStore(EncodeUserStore(loaded), again) != UssLoadStatus::kLoaded) std::abort();
    if (!(again == loaded)) std::abort();
    return 0;
}
