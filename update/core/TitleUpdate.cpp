#include "update/core/TitleUpdate.h"

#include "platform/netctrl/NetCtrl.h"
#include "update/core/GlyphOutline.h"
#include "update/core/ScratchFolder.h"
#include "update/core/TableValues.h"
#include "update/core/TitleSnapshot.h"
#include "update/core/TitleTables.h"
#include "update/core/ToolText.h"

namespace {

constexpr int kAllChannels = 16;

}  // namespace

std::vector<std::string> TitleRemotePaths(int series, TitlePass pass, int channel_count) {
    if (series != kRgbTitleSeries) return {"/mnt/mtd/yuvfile/Cam_Name_Date.yuv"};
    const std::string name = pass == TitlePass::kRecordImage ? "recname.rgb" : "camnamelocal.rgb";
    std::vector<std::string> paths{"/mnt/mtd/yuvfile/" + name};
    if (channel_count != kAllChannels) paths.push_back("/mnt/mtd/yuvfile1/" + name);
    return paths;
}

TitleUpdate::TitleUpdate(NetCtrl& net, ToolMessageSink show, std::string send_failed_text)
    : net_(net), show_(std::move(show)), send_failed_text_(std::move(send_failed_text)) {}

bool TitleUpdate::Send(const std::string& local_path,
                       const std::vector<std::string>& remote_paths) {
    for (const std::string& remote : remote_paths) {
        if (net_.NetSendUpdateFile(local_path.c_str(), remote.c_str()) < 0) {
            show_({send_failed_text_ + "\n" + remote + ": " + net_.LastError(), "", false});
            return false;
        }
    }
    return true;
}

bool TitleUpdate::OnUpdateDvrChannel(int series, int channel_count, const Render& render) {
    const ScratchFolder scratch;
    if (scratch.Path().empty()) {
        show_({"No folder for the title files: " + scratch.Error(), "", true});
        return false;
    }
    const std::string snapshot = scratch.File("tmp.bmp");
    if (series == kRgbTitleSeries) {
        for (TitlePass pass : {TitlePass::kChannelImage, TitlePass::kRecordImage}) {
            const PreviewBox box = PreviewBoxFor(series, pass);
            if (!SavePreviewBitmap(render(box), box, series, snapshot, show_) ||
                !Send(snapshot, TitleRemotePaths(series, pass, channel_count))) {
                return false;
            }
        }
    } else {
        const PreviewBox box = PreviewBoxFor(series, TitlePass::kOpening);
        TitleTables tables(show_);
        const std::string table_text = scratch.File("tmp.h");
        if (!SavePreviewBitmap(render(box), box, series, snapshot, show_) ||
            OutlineGlyphBitmap(snapshot, show_) < 0 ||
            tables.ConvertBitmapToTables(MakeOutlineFileName(snapshot), table_text) < 0 ||
            ConvertTablesToBinary(table_text, show_) < 0 ||
            !Send(scratch.File("date.yuv"),
                  TitleRemotePaths(series, TitlePass::kOpening, channel_count))) {
            return false;
        }
    }
    show_({kSuccessText, "", false});
    return true;
}
