#include "liveview/app/DvrSetFlow.h"

#include "liveview/app/DlgDvrSet.h"
#include "liveview/core/dialogs/DvrSetLists.h"
#include "liveview/manager/DvrManager.h"

bool RunDvrSet(CDvrManager& manager, DlgDvrSet& dialog, int device) {
    _DVR_SETTINGS_ settings;
    if (manager.GetDvr(device, settings) < 0) return false;
    const _DVR_MACHINE_INFO_ info = manager.GetMachineInfo(device);
    dialog.SetSeriesCode(SeriesCodeOf(info.nTypeCode));
    dialog.SetDvr(settings, manager.GetSavePath());
    int valid = 0;
    if (CanReadParameters(info) && manager.GetDvrMacPara(device, dialog.Parameters()) >= 0) {
        valid = 1;
        dialog.SetChannelCount(ChannelCountOf(info.nTypeCode));
    }
    dialog.SetParametersValid(valid);
    if (dialog.DoModal() != QDialog::Accepted) return false;
    if (valid == 1 && dialog.Changed() == 1)
        manager.SetDvrMacPara(device, &dialog.EditedParameters());
    std::string record_directory;
    dialog.GetDvr(settings, record_directory);
    manager.UpdateDvr(device, settings, record_directory);
    return true;
}
