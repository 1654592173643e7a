#include "update/core/FontList.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool Before(const std::string& a, const std::string& b) {
    const bool folded_less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                     [](char x, char y) { return Folded(x) < Folded(y); });
    const bool folded_more =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                     [](char x, char y) { return Folded(x) < Folded(y); });
    return folded_less || (!folded_more && a < b);
}

}  // namespace

std::vector<std::string> FontListOrder(std::vector<std::string> faces) {
    std::sort(faces.begin(), faces.end(), Before);
    faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
    return faces;
}

int DefaultFaceIndex(const std::vector<std::string>& faces) {
    static constexpr std::array<std::string_view, 4> kPlainFaces{
        "WenQuanYi Micro Hei", "Noto Sans CJK SC", "DejaVu Sans", "Liberation Sans"};
    for (std::string_view plain : kPlainFaces) {
        const auto found = std::find(faces.begin(), faces.end(), plain);
        if (found != faces.end()) return static_cast<int>(found - faces.begin());
    }
    return faces.empty() ? -1 : 0;
}
