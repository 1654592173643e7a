#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <algorithm>
#include <vector>

#include "liveview/app/DlgNotice.h"

namespace {

int NoticeWindows() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<DlgNotice*>(window) != nullptr) ++count;
    }
    return count;
}

}  // namespace

TEST(DlgNotice, ShowsItsLineWhereItIsPlacedAndCutsItAtTheEdge) {
    QPointer<DlgNotice> notice =
        DlgNotice::Popup("A title wider than the window it sits in", QRect(200, 150, 135, 14));
    ASSERT_TRUE(notice);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->geometry(), QRect(200, 150, 135, 14));
    auto* line = notice->findChild<QLabel*>("line");
    EXPECT_EQ(line->text(), "A title wider than the window it sits in");
    EXPECT_EQ(line->geometry(), QRect(0, 0, 139, 14));
    EXPECT_TRUE(notice->testAttribute(Qt::WA_TransparentForMouseEvents));
    ASSERT_TRUE(QTest::qWaitFor([&] { return notice.isNull(); }, 10000));
}

// Over a long run the hover title makes a notice every few ticks; none may stay behind.
TEST(DlgNotice, AHundredNoticesLeaveNothingBehind) {
    QWidget owner;
    std::vector<QPointer<DlgNotice>> notices;
    for (int i = 0; i < 100; ++i) {
        notices.emplace_back(DlgNotice::Popup(QString("CH%1").arg(i), QRect(i, i, 135, 14),
                                              i % 2 == 0 ? &owner : nullptr));
    }
    EXPECT_EQ(NoticeWindows(), 100);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(notices.begin(), notices.end(),
                               [](const QPointer<DlgNotice>& n) { return n.isNull(); });
        },
        20000));
    EXPECT_EQ(NoticeWindows(), 0);
    EXPECT_TRUE(owner.findChildren<DlgNotice*>().isEmpty());
}
