#pragma once

#include <QWidget>
#include <memory>

#include "platform/surface/VideoSurface.h"

// Shows a top-level window's video surface: a see-through child laid over the whole client
// area, above the other children and deaf to the mouse, that paints the pictures frame
// threads drew. One per top-level window; created on first use, on the window thread.
class CVideoSurfaceView : public QWidget {
    Q_OBJECT

public:
    // The surface of the window that holds widget (its top-level), created when missing.
    // nullptr for no widget.
    static std::shared_ptr<CVideoSurface> SurfaceOf(QWidget* widget);
    // The view of widget's top-level window, nullptr when it has none yet.
    static CVideoSurfaceView* Find(QWidget* widget);
    // Wipes the pictures over a rectangle of widget (its own coordinates), so the widget's
    // next paint shows through.
    static void ClearUnder(QWidget* widget, const QRect& rect_in_widget);
    // Pictures of widget's window land only inside widget from now on; any lying outside it
    // are wiped and the window repainted there.
    static void ClipTo(QWidget* widget);

    ~CVideoSurfaceView() override;

    const std::shared_ptr<CVideoSurface>& Surface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit CVideoSurfaceView(QWidget* window);
    // Window thread: repaints what frame threads drew since the last flush.
    void Flush();
    void FollowWindow();
    void FollowOrigin();

    QWidget* window_;
    std::shared_ptr<CVideoSurface> surface_;
};
