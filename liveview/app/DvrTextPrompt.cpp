#include "liveview/app/DvrTextPrompt.h"

#include "common/ui/widgets/MessageBoxSeam.h"
#include "liveview/app/DialogTexts.h"
#include "liveview/core/dialogs/DvrTextCheck.h"

bool DvrTextsTaken(QWidget* owner, const DialogTexts& texts, const _DVR_SETTINGS_& typed,
                   bool with_show_name) {
    const DvrTextVerdict verdict = CheckDvrTexts(typed, with_show_name);
    if (verdict.problem == DvrTextProblem::kEmpty) {
        ShowMessageBox(owner, texts.Text("word7"));
        return false;
    }
    if (verdict.problem == DvrTextProblem::kUnfit) {
        ShowMessageBox(owner, QString::fromStdString(UnfitTextMessage(
                                  verdict.field, DvrTextOf(typed, verdict.field))));
        return false;
    }
    return true;
}
