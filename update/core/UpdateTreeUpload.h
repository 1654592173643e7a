#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class NetCtrl;

inline constexpr char kStartScript[] = "net_update_start.sh";
inline constexpr char kEndScript[] = "net_update_end.sh";

enum class UpdateOutcome {
    kDone,
    kMissingScript,  // nothing was sent
    kSendFailed,     // the end script did not run
};

// An update folder sent to the recorder between its two scripts: the start script is sent and
// run, then every file of the folder tree is sent, then the end script is run.
class UpdateTreeUpload {
public:
    using Progress = std::function<void(const std::string& text)>;

    UpdateTreeUpload(NetCtrl& net, Progress progress);

    UpdateOutcome UploadUpdateFolder(const std::string& folder);
    // Every file below the folder, depth first, entries in name order: 0, or -1 when one was
    // not sent or a folder could not be read.
    int SendFolderTree(const std::string& folder);
    // The local path of the file that was not sent and why, empty when every send went.
    const std::string& FailedFile() const { return failed_file_; }
    const std::string& FailedReason() const { return failed_reason_; }

private:
    // The entries of a folder in the order the walk visits them: by name, letter case
    // ignored, so an upload goes the same way whatever order the file system keeps.
    static bool SortedEntries(const std::string& folder,
                              std::vector<std::filesystem::directory_entry>& entries);
    int Walk(const std::string& folder, std::vector<std::filesystem::path>& open_folders);
    int SendFile(const std::string& local_path);

    NetCtrl& net_;
    Progress progress_;
    std::string root_;
    std::string failed_file_;
    std::string failed_reason_;
};
