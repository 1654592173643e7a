#include "launcher/core/StartTargets.h"

#include "common/settings/LanguageSelect.h"

namespace {

constexpr const char* kClientFolder = "ClientSoftware";

const char* ProgramFile(StartProgram program) {
    switch (program) {
        case StartProgram::kPlayBack:
            return "PlayBack";
        case StartProgram::kOculan:
            return "Oculan";
        case StartProgram::kRewinda:
            return "Rewinda";
        case StartProgram::kFirmora:
            return "Firmora";
    }
    return "";
}

}  // namespace

std::string StartProgramPath(const std::string& launcher_folder, StartProgram program) {
    return launcher_folder + "/" + kClientFolder + "/" + ProgramFile(program);
}

std::string StartLanguageFile(const std::string& language) {
    return std::string(kClientFolder) + "/" + LanguageFileFor(language);
}
