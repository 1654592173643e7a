#include "update/core/UpdateTreeUpload.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "platform/netctrl/NetCtrl.h"
#include "update/core/RemotePath.h"

namespace {

std::string WithSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

std::string NameKey(const std::filesystem::directory_entry& entry) {
    std::string key = entry.path().filename().string();
    std::transform(key.begin(), key.end(), key.begin(), [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    });
    return key;
}

// Both paths resolved: inside is root itself or below it.
bool LiesInside(const std::filesystem::path& inside, const std::filesystem::path& root) {
    auto [root_end, inside_end] =
        std::mismatch(root.begin(), root.end(), inside.begin(), inside.end());
    return root_end == root.end();
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

bool UpdateTreeUpload::FolderFile(const std::string& folder, const char* name, TreeFile& file) {
    const std::string path = WithSeparator(folder) + name;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::access(path.c_str(), R_OK) != 0) {
        return false;
    }
    file = {path, path, info.st_dev, info.st_ino};
    return true;
}

UpdateOutcome UpdateTreeUpload::UploadUpdateFolder(const std::string& folder) {
    root_ = folder;
    left_out_.clear();
    // The scripts run on the recorder: a link could make it run any file of this machine.
    TreeFile end_script;
    TreeFile start_script;
    if (!FolderFile(folder, kEndScript, end_script) ||
        !FolderFile(folder, kStartScript, start_script)) {
        return UpdateOutcome::kMissingScript;
    }
    std::vector<TreeFile> files;
    if (!CheckTree(folder, files)) return UpdateOutcome::kTreeRefused;

    if (SendFile(start_script) < 0 || !RunScript(kStartScript)) return UpdateOutcome::kSendFailed;
    for (const TreeFile& file : files) {
        if (SendFile(file) < 0) return UpdateOutcome::kEndNotRun;
    }
    return RunScript(kEndScript) ? UpdateOutcome::kDone : UpdateOutcome::kEndNotRun;
}

int UpdateTreeUpload::SendFolderTree(const std::string& folder) {
    root_ = folder;
    left_out_.clear();
    std::vector<TreeFile> files;
    if (!CheckTree(folder, files)) return -1;
    for (const TreeFile& file : files) {
        if (SendFile(file) < 0) return -1;
    }
    return 0;
}

bool UpdateTreeUpload::CheckTree(const std::string& folder, std::vector<TreeFile>& files) {
    std::error_code failed;
    real_root_ = std::filesystem::canonical(root_, failed);
    if (failed) return false;
    std::vector<std::filesystem::directory_entry> entries;
    if (!SortedEntries(folder, entries)) return false;
    const std::string prefix = WithSeparator(folder);
    bool readable = true;
    for (const auto& entry : entries) {
        CheckEntry(prefix + entry.path().filename().string(), files, readable);
        if (!readable) return false;
    }
    return true;
}

void UpdateTreeUpload::CheckEntry(const std::string& path, std::vector<TreeFile>& files,
                                  bool& readable) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        readable = false;
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        std::vector<std::filesystem::directory_entry> entries;
        if (!SortedEntries(path, entries)) {
            readable = false;
            return;
        }
        const std::string prefix = WithSeparator(path);
        for (const auto& entry : entries) {
            CheckEntry(prefix + entry.path().filename().string(), files, readable);
            if (!readable) return;
        }
        return;
    }
    if (S_ISREG(info.st_mode)) {
        files.push_back({path, path, info.st_dev, info.st_ino});
        return;
    }
    // A link is sent only as the regular file it leads to inside the folder; folder links are
    // not followed, as their files are either outside or already in the walk.
    if (S_ISLNK(info.st_mode)) {
        std::error_code failed;
        const std::filesystem::path target = std::filesystem::canonical(path, failed);
        struct stat target_info {};
        if (!failed && LiesInside(target, real_root_) &&
            ::stat(target.c_str(), &target_info) == 0 && S_ISREG(target_info.st_mode)) {
            files.push_back({path, target.string(), target_info.st_dev, target_info.st_ino});
            return;
        }
    }
    left_out_.push_back(path);
}

int UpdateTreeUpload::SendFile(const TreeFile& file) {
    if (progress_) progress_("Send " + file.local_path + " ...,Wait..");
    // Opened without waiting and checked again, as the file may have been swapped since the
    // check: a pipe would hold the open for ever, a link could lead anywhere.
    const int fd = ::open(file.open_path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    std::string reason;
    if (fd < 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_dev != file.device ||
        info.st_ino != file.inode) {
        reason = "changed since the folder was checked";
    } else {
        // The connection reads the very file checked, through its descriptor.
        const std::string checked = "/proc/self/fd/" + std::to_string(fd);
        if (net_.NetSendUpdateFile(checked.c_str(),
                                   MakeRemotePath(file.local_path, root_).c_str()) < 0) {
            reason = net_.LastError();
            // The operator knows the file by its name, not by the descriptor.
            for (auto at = reason.find(checked); at != std::string::npos;
                 at = reason.find(checked, at + file.local_path.size())) {
                reason.replace(at, checked.size(), file.local_path);
            }
        }
    }
    if (fd >= 0) ::close(fd);
    if (reason.empty()) return 0;
    // Kept for the message: the operator has to find the file that was not sent.
    failed_file_ = file.local_path;
    failed_reason_ = reason;
    return -1;
}

bool UpdateTreeUpload::RunScript(const std::string& name) {
    const std::string remote = std::string(kRemoteRoot) + name;
    return net_.ExecuteShell(("chmod 777 " + remote).c_str()) >= 0 &&
           net_.ExecuteShell(remote.c_str()) >= 0;
}
