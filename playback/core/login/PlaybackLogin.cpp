#include "playback/core/login/PlaybackLogin.h"

#include <cstdio>

#include "common/lookup/LookupClient.h"
#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "platform/net/Ipv4Resolve.h"
#include "platform/netctrl/NetCtrl.h"
#include "playback/core/login/LoginTarget.h"

namespace {

std::string Format(const char* format, const std::string& a) {
    char text[600];
    std::snprintf(text, sizeof text, format, a.c_str());
    return text;
}

std::string Format(const char* format, const std::string& a, const std::string& b) {
    char text[600];
    std::snprintf(text, sizeof text, format, a.c_str(), b.c_str());
    return text;
}

// The language key that words a refused log-in, nullptr for the plain "Net Error!".
const char* RefusalKey(int result) {
    switch (result) {
        case -4:
            return "word3";
        case -3:
            return "word4";
        case -2:
            return "word5";
        case NetCtrl::kConnectError:
            return "word11";
        default:
            return nullptr;
    }
}

}  // namespace

CPlaybackLogin::CPlaybackLogin(const CConfigFile& settings, CLookupClient& lookup)
    : settings_(settings), lookup_(lookup), resolve_(ResolveIpv4Text) {}

int CPlaybackLogin::SetNetCtrl(NetCtrl* connection) {
    connection_ = connection;
    return 1;
}

LoginOutcome CPlaybackLogin::Confirm(const LanguageSelect& texts, const std::string& user,
                                     const std::string& password, const std::string& server_text) {
    if (user.size() > kMaxEntry_chars || password.size() > kMaxEntry_chars) {
        return {false, texts.Text("word6")};
    }
    if (user.empty() || password.empty()) return {false, texts.Text("word7")};
    if (connection_ == nullptr) return {false, "Net Error!"};

    const Destination destination = FindRecorder(server_text);
    if (!destination.error.empty()) return {false, destination.error};

    const int result = connection_->ConnectToServer(destination.address.c_str(), destination.port,
                                                    user.c_str(), password.c_str());
    if (result < 0) {
        const char* key = RefusalKey(result);
        const std::string message = key == nullptr
                                        ? Format("%s: Net Error!\n", destination.prefix)
                                        : Format("%s: %s\n", destination.prefix, texts.Text(key));
        return {false, message};
    }
    return AfterLogin(texts, user, server_text);
}

CPlaybackLogin::Destination CPlaybackLogin::FindRecorder(const std::string& server_text) {
    const LoginTarget split = SplitServerText(server_text);
    Destination destination;
    if (!split.ByDeviceName()) {
        host_ = split.host;
        destination.address = split.host;
        destination.port = split.Port();
        destination.prefix = split.host;
        return destination;
    }
    std::string lookup_host = split.host;
    if (HostNeedsResolve(lookup_host)) {
        // A name that does not resolve is tried as typed; the lookup then reports it.
        if (const std::optional<std::string> dotted = resolve_(lookup_host)) lookup_host = *dotted;
    }
    const int found = lookup_.Lookup(lookup_host, lookup_port_, split.target);
    if (found < 0) {
        destination.error =
            found == kNotOnline ? "Dvr is not online!\n" : "Can't connect server!\n";
        return destination;
    }
    // The operator logged in to the recorder of that name, not to the lookup server.
    host_ = split.target;
    destination.address = lookup_.Address();
    destination.port = lookup_.Port();
    destination.prefix = server_text;
    return destination;
}

LoginOutcome CPlaybackLogin::AfterLogin(const LanguageSelect& texts, const std::string& user,
                                        const std::string& server_text) {
    settings_.AddServer(server_text + ":" + user);
    connection_->GetMachineDiskInfo();
    const _DVR_MACHINE_INFO_ info = connection_->GetMachineInfe();
    if (info.nUserLevel != kSuperUserLevel) {
        connection_->DisConnect();
        connection_->ResetNetWork();
        return {false, texts.Text("Net_Word5")};
    }
    if (info.nDiskCount <= 0) {
        connection_->DisConnect();
        connection_->ResetNetWork();
        return {true, texts.Text("Start_Word9")};
    }
    return {true, {}};
}
