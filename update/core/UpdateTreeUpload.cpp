#include "update/core/UpdateTreeUpload.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "platform/netctrl/NetCtrl.h"
#include "update/core/RemotePath.h"

namespace {

std::string WithSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

bool Readable(const std::string& path) {
    std::error_code failed;
    return std::filesystem::is_regular_file(path, failed) && std::ifstream(path).good();
}

std::string NameKey(const std::filesystem::directory_entry& entry) {
    std::string key = entry.path().filename().string();
    std::transform(key.begin(), key.end(), key.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return key;
}

void RunScript(NetCtrl& net, const std::string& name) {
    const std::string remote = std::string(kRemoteRoot) + name;
    net.ExecuteShell(("chmod 777 " + remote).c_str());
    net.ExecuteShell(remote.c_str());
}

}  // namespace

UpdateTreeUpload::UpdateTreeUpload(NetCtrl& net, Progress progress)
    : net_(net), progress_(std::move(progress)) {}

bool UpdateTreeUpload::SortedEntries(const std::string& folder,
                                     std::vector<std::filesystem::directory_entry>& entries) {
    std::error_code failed;
    entries.clear();
    for (std::filesystem::directory_iterator it(folder, failed), end; !failed && it != end;
         it.increment(failed)) {
        entries.push_back(*it);
    }
    if (failed) return false;
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        const std::string ka = NameKey(a);
        const std::string kb = NameKey(b);
        return ka != kb ? ka < kb : a.path().filename() < b.path().filename();
    });
    return true;
}

UpdateOutcome UpdateTreeUpload::UploadUpdateFolder(const std::string& folder) {
    root_ = folder;
    const std::string start_script = WithSeparator(folder) + kStartScript;
    if (!Readable(WithSeparator(folder) + kEndScript) || !Readable(start_script)) {
        return UpdateOutcome::kMissingScript;
    }
    if (SendFile(start_script) < 0) return UpdateOutcome::kSendFailed;
    RunScript(net_, kStartScript);
    if (SendFolderTree(folder) < 0) return UpdateOutcome::kSendFailed;
    RunScript(net_, kEndScript);
    return UpdateOutcome::kDone;
}

int UpdateTreeUpload::SendFolderTree(const std::string& folder) {
    root_ = folder;
    std::vector<std::filesystem::path> open_folders;
    return Walk(folder, open_folders);
}

int UpdateTreeUpload::Walk(const std::string& folder,
                           std::vector<std::filesystem::path>& open_folders) {
    // A folder link back into the walk would never end.
    std::error_code failed;
    const std::filesystem::path real = std::filesystem::canonical(folder, failed);
    if (failed || std::find(open_folders.begin(), open_folders.end(), real) != open_folders.end()) {
        return -1;
    }
    std::vector<std::filesystem::directory_entry> entries;
    if (!SortedEntries(folder, entries)) return -1;
    open_folders.push_back(real);
    const std::string prefix = WithSeparator(folder);
    for (const auto& entry : entries) {
        const std::string path = prefix + entry.path().filename().string();
        const int result = entry.is_directory(failed) ? Walk(path, open_folders) : SendFile(path);
        if (result < 0) return -1;
    }
    open_folders.pop_back();
    return 0;
}

int UpdateTreeUpload::SendFile(const std::string& local_path) {
    if (progress_) progress_("Send " + local_path + " ...,Wait..");
    return net_.NetSendUpdateFile(local_path.c_str(), MakeRemotePath(local_path, root_).c_str()) < 0
               ? -1
               : 0;
}
