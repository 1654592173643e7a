#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class NetCtrl;

inline constexpr char kStartScript[] = "net_update_start.sh";
inline constexpr char kEndScript[] = "net_update_end.sh";

enum class UpdateOutcome {
    kDone,
    kMissingScript,  // a script is not a regular file of the folder: nothing was sent
    kTreeRefused,    // a folder of the tree could not be read: nothing was sent
    kSendFailed,     // the start script was not sent or did not run
    kEndNotRun,      // the start script ran, a later step failed: the end script did not run
};

// An update folder sent to the recorder between its two scripts: the start script is sent and
// run, then every file of the folder tree is sent, then the end script is run. Only regular
// files that lie inside the folder go out; the tree is checked whole before anything is sent.
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

    // Entries of the last upload's tree that were not sent: links leading out of the folder,
    // folder links, pipes, devices and sockets. Local paths, in walk order.
    const std::vector<std::string>& LeftOut() const { return left_out_; }

private:
    // A regular file the check found, sent only while it is still that same file.
    struct TreeFile {
        std::string local_path;  // as the walk names it: progress text and remote path
        std::string open_path;   // where it is read: the link's target for a link
        dev_t device = 0;
        ino_t inode = 0;
    };

    // The entries of a folder in the order the walk visits them: by name, letter case
    // ignored, so an upload goes the same way whatever order the file system keeps.
    static bool SortedEntries(const std::string& folder,
                              std::vector<std::filesystem::directory_entry>& entries);
    // The files of the tree below root_, or false when a folder could not be read.
    bool CheckTree(const std::string& folder, std::vector<TreeFile>& files);
    void CheckEntry(const std::string& path, std::vector<TreeFile>& files, bool& readable);
    // The file of the folder named `name` when it is a regular file (not a link).
    static bool FolderFile(const std::string& folder, const char* name, TreeFile& file);
    int SendFile(const TreeFile& file);
    bool RunScript(const std::string& name);

    NetCtrl& net_;
    Progress progress_;
    std::string root_;
    std::string failed_file_;
    std::string failed_reason_;
    std::filesystem::path real_root_;
    std::vector<std::string> left_out_;
};
