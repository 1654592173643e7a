#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <vector>

#include "common/ui/widgets/MessageBoxSeam.h"

namespace {

std::vector<QMessageBox*> OpenBoxes() {
    std::vector<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            boxes.push_back(box);
    }
    return boxes;
}

}  // namespace

// Real boxes, as the programs show them: a second box while the first is up lies beside it.
TEST(MessageBoxSeam, ABoxOpenedOverAnotherStepsAsideSoBothShow) {
    QWidget owner;
    owner.resize(400, 300);
    owner.show();
    QPoint first_at;
    QPoint second_at;
    bool second_asked = false;
    int ticks_with_two = 0;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const std::vector<QMessageBox*> boxes = OpenBoxes();
        if (boxes.size() == 1 && !second_asked) {
            second_asked = true;
            first_at = boxes[0]->pos();
            // Shown from a timer of its own: a timer's slot is not re-entered while it waits.
            QTimer::singleShot(0, &owner, [&] { ShowMessageBox(&owner, "second"); });
            return;
        }
        // A few ticks for the box to settle where it goes, then both are closed.
        if (boxes.size() == 2 && ++ticks_with_two == 5) {
            for (QMessageBox* box : boxes) {
                if (box->text() == "second") second_at = box->pos();
            }
            for (QMessageBox* box : boxes)
                box->done(QMessageBox::Ok);
        }
        if (boxes.empty() && second_asked) poll.stop();
    });
    poll.start();
    ShowMessageBox(&owner, "first");
    ASSERT_TRUE(second_asked);
    EXPECT_EQ(second_at - first_at, QPoint(24, 24));
}
