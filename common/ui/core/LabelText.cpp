#include "common/ui/core/LabelText.h"

#include <algorithm>

#include "platform/text/Utf8Cut.h"

std::string CutLabelText(std::string_view text, int width_bytes) {
    if (static_cast<long long>(text.size()) < width_bytes) return std::string(text);
    const auto keep = static_cast<std::size_t>(std::max(width_bytes - 2, 0));
    std::string shown(Utf8Cut(text, keep));
    shown += ' ';
    return shown;
}
