#pragma once

#include <memory>

#include "common/ui/core/GdiRenderer.h"
#include "common/ui/core/VideoGridLayout.h"
#include "liveview/manager/tests/ManagerFixture.h"
#include "platform/surface/VideoSurface.h"

// A manager that draws into a 16-cell grid on a surface of its own, as the main window's
// video window would have it.
class DisplayFixture : public ManagerFixture {
protected:
    static constexpr int kGridWidth = 704;
    static constexpr int kGridHeight = 576;

    void SetUp() override {
        ManagerFixture::SetUp();
        grid_.Init(16, 16);
        grid_.ComputeCells(0, 0, kGridWidth, kGridHeight);
        surface_->Resize(kGridWidth, kGridHeight);
        renderer_.SetDC(surface_);
        Show();
    }

    void TearDown() override {
        if (manager_) manager_->Shutdown();
        ManagerFixture::TearDown();
    }

    void Show() {
        manager_->SetGdiMode(1);
        manager_->SetDisplayTargets(&grid_, &renderer_, {0, 0, kGridWidth, kGridHeight});
    }

    CVideoGridLayout grid_;
    std::shared_ptr<CVideoSurface> surface_ = std::make_shared<CVideoSurface>();
    CGdiRenderer renderer_;
};
