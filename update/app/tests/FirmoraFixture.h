#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "tests/support/MessageBoxAnswers.h"
#include "update/core/tests/RecorderFixture.h"

// The update tool's folder (with the built language files) beside the emulated recorder, and
// the message boxes answered.
class FirmoraFixture : public RecorderFixture {
protected:
    FirmoraFixture() {
        std::filesystem::create_directory_symlink(
            std::filesystem::path(SUITE_TREE_DIR) / "ClientSoftware" / "language",
            folder_.Path() / "language");
    }
    std::string Server() const { return "127.0.0.1:" + std::to_string(emulator_.Port(0)); }
    std::string Folder() const { return folder_.Path().string(); }

    // Runs `act` on the next modal dialog, once it is shown.
    static void WhenModal(std::function<void(QWidget*)> act) {
        QTimer::singleShot(10, [act = std::move(act)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible()) {
                act(modal);
            } else {
                WhenModal(act);
            }
        });
    }
    static void Click(QWidget* window, const char* name) {
        QPushButton* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static QLineEdit* Field(QWidget* window, const char* name) {
        return window->findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    MessageBoxAnswers boxes_;
};
