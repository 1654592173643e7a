#pragma once

#include <functional>
#include <string>
#include <vector>

#include "update/core/TitleLayout.h"
#include "update/core/TitlePicture.h"
#include "update/core/ToolMessage.h"

class NetCtrl;

// Recorder paths of the title files. Series 7 takes the channel image and the record image
// in yuvfile, and in yuvfile1 too unless it has 16 channels; other series take the bitmap
// table.
std::vector<std::string> TitleRemotePaths(int series, TitlePass pass, int channel_count);

// One update of the channel titles: the names drawn as the recorder shows them, made into its
// title files in a private scratch folder (removed afterwards) and sent.
class TitleUpdate {
public:
    // Sizes the preview box as given, draws the names into it and returns the drawing.
    using Render = std::function<TitlePicture(const PreviewBox& box)>;

    // send_failed_text: the message for a file that did not reach the recorder.
    TitleUpdate(NetCtrl& net, ToolMessageSink show, std::string send_failed_text);

    // True when every file was sent ("Success!" has been shown); otherwise a message has said
    // what failed.
    bool OnUpdateDvrChannel(int series, int channel_count, const Render& render);

private:
    bool Send(const std::string& local_path, const std::vector<std::string>& remote_paths);

    NetCtrl& net_;
    ToolMessageSink show_;
    std::string send_failed_text_;
};
