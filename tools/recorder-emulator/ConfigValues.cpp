#include "tools/recorder-emulator/ConfigValues.h"

#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/DaySchedule.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>
#include <string_view>

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Split(std::string_view s, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = s.find(separator, start);
        parts.push_back(Trim(s.substr(start, end - start)));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

std::optional<int64_t> Integer(std::string_view s) {
    s = Trim(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) return std::nullopt;
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return std::nullopt;
    int64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> TimeOfDay(std::string_view s) {
    const auto parts = Split(s, ':');
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    int values[3] = {0, 0, 0};
    for (size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].empty() || parts[i].size() > 2 ||
            !std::all_of(parts[i].begin(), parts[i].end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        values[i] = static_cast<int>(*Integer(parts[i]));
    }
    if (values[1] > 59 || values[2] > 59) return std::nullopt;
    const int seconds = values[0] * 3600 + values[1] * 60 + values[2];
    if (seconds > kSecondsPerDay) return std::nullopt;
    return seconds;
}

std::optional<int64_t> Date(std::string_view s) {
    const auto parts = Split(s, '-');
    if (parts.size() != 3) return std::nullopt;
    const auto y = Integer(parts[0]);
    const auto m = Integer(parts[1]);
    const auto d = Integer(parts[2]);
    if (!y || !m || !d || *y < 1900 || *y > 9999 || *m < 1 || *m > 12 || *d < 1) {
        return std::nullopt;
    }
    // The day key check knows the month lengths.
    return DayNumberOfKey((*y - 1900) * 10000 + (*m - 1) * 100 + *d);
}

}  // namespace

std::optional<int64_t> ParseInteger(const std::string& text) { return Integer(text); }

std::optional<int32_t> ParseCodecWord(const std::string& text) {
    std::string lower(Trim(text));
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "h264") return kH264CodecWord;
    if (lower == "mpeg4") return kMpeg4CodecWord;
    const auto word = Integer(lower);
    if (!word || *word < INT32_MIN || *word > UINT32_MAX) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(*word));
}

std::optional<std::vector<UserAccount>> ParseUsers(const std::string& text) {
    std::vector<UserAccount> users;
    std::set<std::string> names;
    for (std::string_view item : Split(text, ',')) {
        const auto fields = Split(item, ':');
        if (fields.size() != 3 || fields[0].empty()) return std::nullopt;
        const auto level = Integer(fields[2]);
        if (!level || *level < 0 || *level > 2) return std::nullopt;
        UserAccount user{std::string(fields[0]), std::string(fields[1]), static_cast<int>(*level)};
        if (!names.insert(user.name).second) return std::nullopt;
        users.push_back(std::move(user));
    }
    return users;
}

std::optional<std::vector<int>> ParsePerChannel(const std::string& text, int channel_count) {
    const auto parts = Split(text, ',');
    if (parts.size() != 1 && parts.size() != static_cast<size_t>(channel_count)) {
        return std::nullopt;
    }
    std::vector<int> values;
    for (std::string_view part : parts) {
        const auto v = Integer(part);
        if (!v || *v < INT32_MIN || *v > INT32_MAX) return std::nullopt;
        values.push_back(static_cast<int>(*v));
    }
    if (values.size() == 1) values.assign(channel_count, values.front());
    return values;
}

std::optional<std::vector<RecordSegment>> ParseSchedule(const std::string& text) {
    std::vector<RecordSegment> segments;
    if (Trim(text).empty()) return segments;
    for (std::string_view item : Split(text, ';')) {
        std::string_view repeat;
        if (const size_t at = item.find('@'); at != std::string_view::npos) {
            repeat = Trim(item.substr(at + 1));
            item = Trim(item.substr(0, at));
        }
        const size_t slash = item.find('/');
        if (slash == std::string_view::npos) return std::nullopt;
        const auto mask = Integer(item.substr(slash + 1));
        const auto span = Split(item.substr(0, slash), '-');
        if (!mask || *mask <= 0 || *mask > 0xffff || span.size() != 2) return std::nullopt;
        const auto start = TimeOfDay(span[0]);
        const auto end = TimeOfDay(span[1]);
        if (!start || !end || *start >= *end) return std::nullopt;
        int period_s = *end - *start;
        int length_s = period_s;
        if (!repeat.empty()) {
            const auto pl = Split(repeat, 'x');
            if (pl.size() != 2) return std::nullopt;
            const auto period = Integer(pl[0]);
            const auto length = Integer(pl[1]);
            if (!period || !length || *length <= 0 || *period < *length ||
                *period > kSecondsPerDay) {
                return std::nullopt;
            }
            period_s = static_cast<int>(*period);
            length_s = static_cast<int>(*length);
        }
        for (int s = *start; s < *end; s += period_s) {
            if (segments.size() >= kMaxScheduleRecords) return std::nullopt;
            segments.push_back({s, std::min(s + length_s, *end), static_cast<uint32_t>(*mask)});
        }
    }
    std::stable_sort(
        segments.begin(), segments.end(),
        [](const RecordSegment& a, const RecordSegment& b) { return a.start_s < b.start_s; });
    return segments;
}

std::optional<std::pair<int64_t, int64_t>> ParseRecordDays(const std::string& text, int64_t today) {
    const std::string_view s = Trim(text);
    if (const size_t dots = s.find(".."); dots != std::string_view::npos) {
        const auto first = Date(s.substr(0, dots));
        const auto last = Date(s.substr(dots + 2));
        if (!first || !last || *first > *last) return std::nullopt;
        return std::pair{*first, *last};
    }
    const auto count = Integer(s);
    if (!count || *count < 1 || *count > 3660) return std::nullopt;
    return std::pair{today - *count + 1, today};
}
