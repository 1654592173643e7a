#pragma once

#include <string>

#include "liveview/core/store/UserStoreContent.h"
#include "liveview/core/store/UserStoreFormat.h"

// The device store file uss.dat. Saving replaces the file in one step (a temporary file
// renamed over it), so a program that dies mid-write leaves the previous store; bytes after
// the store's 43977 in an existing file are carried over. When a load found the file short
// or had to mend it, that file is kept as uss.dat.damaged (by KeepDamagedCopy, or else by the
// next save before it writes), so nothing the user had is lost to the new store.
class CUserStore {
public:
    // uss.dat in the parent of the program's folder.
    CUserStore();
    explicit CUserStore(std::string path);

    const std::string& Path() const { return path_; }
    std::string DamagedPath() const { return path_ + ".damaged"; }

    // Fills out when the status says loaded; a short store fills only the parts that lie
    // whole before the cut (see DecodeUserStore).
    UssLoadStatus Load(UserStoreContent& out);
    // After a load that found the file short or mended it: copies the file as it was to
    // DamagedPath() and returns that path. Empty when no copy is due or it cannot be made
    // (the next save then tries again, and writes nothing unless the copy is made).
    std::string KeepDamagedCopy();
    // 1 = written, -1 = not (the previous file is untouched then).
    int Save(const UserStoreContent& content);

private:
    std::string path_;
    bool keep_damaged_ = false;
};
