#include "tests/support/realwindow/EmulatorProgram.h"

#include <unistd.h>

#include <fstream>
#include <regex>

#include "tests/support/realwindow/ChildProcess.h"

namespace {

constexpr int kStartLimit_ms = 60000;  // the emulator encodes its loops before it listens

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

EmulatorProgram::EmulatorProgram(const std::string& ini_text) {
    std::string pattern = (std::filesystem::temp_directory_path() / "emulator_XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    const std::filesystem::path ini = folder_ / "emulator.ini";
    std::ofstream(ini) << Replaced(ini_text, "${FOLDER}", folder_.string());
    process_ = std::make_unique<ChildProcess>(SUITE_EMULATOR_PROGRAM,
                                              std::vector<std::string>{"--config", ini.string()});
    // The last line of its start-up report says it is ready.
    if (!process_->WaitForOutput(std::regex("uploads go below"), kStartLimit_ms)) return;
    const std::string report = process_->Output();
    const std::regex recorder_line(R"(recorder \d+: 127\.0\.0\.1:(\d+))");
    for (std::sregex_iterator it(report.begin(), report.end(), recorder_line), end; it != end;
         ++it) {
        ports_.push_back(std::stoi((*it)[1]));
    }
    std::smatch lookup;
    if (std::regex_search(report, lookup, std::regex(R"(lookup server: 127\.0\.0\.1:(\d+))"))) {
        lookup_port_ = std::stoi(lookup[1]);
    }
    ok_ = !ports_.empty();
}

EmulatorProgram::~EmulatorProgram() {
    process_.reset();
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

std::string EmulatorProgram::Output() const { return process_ ? process_->Output() : ""; }
