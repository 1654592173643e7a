#include "liveview/core/streaming/ConnectMessages.h"

#include "common/settings/LanguageSelect.h"

namespace {

const char* LoginFailureKey(int result) {
    switch (result) {
        case -4:
            return "word3";  // too many users
        case -3:
            return "word4";  // the super user is busy
        case -2:
            return "word5";  // user or password wrong
        case -1005:
            return "word11";  // no connection
        default:
            return nullptr;
    }
}

}  // namespace

std::string LoginFailureText(int result, const std::string& show_name,
                             const LanguageSelect& texts) {
    const char* key = LoginFailureKey(result);
    if (key == nullptr) return show_name + ": Net Error!\n";
    return show_name + ": " + texts.Text(key) + "\n";
}

std::string LostLinkText(const std::string& show_name, const LanguageSelect& texts) {
    return show_name + ": " + texts.Text("word8") + "\n";
}
