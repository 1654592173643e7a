#pragma once

#include <string>

// A private folder (mode 0700) below the temporary folder for the files of one title update,
// removed with everything in it when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Empty when the folder could not be made (error says why).
    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    std::string error_;
};
