#include "platform/surface/VideoSurfaceView.h"

#include <QChildEvent>
#include <QEvent>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>

std::shared_ptr<CVideoSurface> CVideoSurfaceView::SurfaceOf(QWidget* widget) {
    if (!widget) return nullptr;
    CVideoSurfaceView* view = Find(widget);
    if (!view) view = new CVideoSurfaceView(widget->window());
    return view->surface_;
}

CVideoSurfaceView* CVideoSurfaceView::Find(QWidget* widget) {
    if (!widget) return nullptr;
    return widget->window()->findChild<CVideoSurfaceView*>(QString(), Qt::FindDirectChildrenOnly);
}

void CVideoSurfaceView::ClearUnder(QWidget* widget, const QRect& rect_in_widget) {
    CVideoSurfaceView* view = Find(widget);
    if (!view || rect_in_widget.isEmpty()) return;
    const QRect area(widget->mapTo(view->window_, rect_in_widget.topLeft()), rect_in_widget.size());
    view->surface_->Clear({area.left(), area.top(), area.right() + 1, area.bottom() + 1});
}

void CVideoSurfaceView::ClipTo(QWidget* widget) {
    CVideoSurfaceView* view = Find(widget);
    if (!view) return;
    const QRect area(widget->mapTo(view->window_, QPoint(0, 0)), widget->size());
    const ScreenRect wiped =
        view->surface_->ClipTo({area.left(), area.top(), area.right() + 1, area.bottom() + 1});
    if (!wiped.IsEmpty()) view->update(wiped.left, wiped.top, wiped.Width(), wiped.Height());
}

CVideoSurfaceView::CVideoSurfaceView(QWidget* window)
    : QWidget(window), window_(window), surface_(std::make_shared<CVideoSurface>()) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    surface_->SetPaintRequest([this] {
        QMetaObject::invokeMethod(this, &CVideoSurfaceView::Flush, Qt::QueuedConnection);
    });
    window_->installEventFilter(this);
    FollowWindow();
    raise();
    show();
}

CVideoSurfaceView::~CVideoSurfaceView() {
    // Frame threads may keep the surface; they must stop calling into this view.
    surface_->SetPaintRequest(nullptr);
}

void CVideoSurfaceView::Flush() {
    // Some platforms place a window without telling it; frame threads keep drawing, so
    // each flush puts the origin right again.
    FollowOrigin();
    const ScreenRect dirty = surface_->TakeDirty();
    if (!dirty.IsEmpty()) update(dirty.left, dirty.top, dirty.Width(), dirty.Height());
}

void CVideoSurfaceView::FollowWindow() {
    setGeometry(window_->rect());
    surface_->Resize(window_->width(), window_->height());
    FollowOrigin();
}

void CVideoSurfaceView::FollowOrigin() {
    const QPoint origin = window_->mapToGlobal(QPoint(0, 0));
    surface_->SetOrigin(origin.x(), origin.y());
}

bool CVideoSurfaceView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
            case QEvent::Resize:
            case QEvent::Move:
                FollowWindow();
                break;
            case QEvent::Show:
                // The platform may still move the window once it is shown.
                FollowWindow();
                QMetaObject::invokeMethod(this, &CVideoSurfaceView::FollowOrigin,
                                          Qt::QueuedConnection);
                break;
            case QEvent::ChildAdded:
                // Children made later would cover the pictures; stay on top once they exist.
                if (static_cast<QChildEvent*>(event)->child()->isWidgetType()) {
                    QMetaObject::invokeMethod(this, &QWidget::raise, Qt::QueuedConnection);
                }
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CVideoSurfaceView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    surface_->Read([&](const std::uint32_t* pixels, int width, int height) {
        const QRect area = event->rect() & QRect(0, 0, width, height);
        if (area.isEmpty()) return;
        const QImage image(reinterpret_cast<const uchar*>(pixels), width, height, width * 4,
                           QImage::Format_ARGB32_Premultiplied);
        painter.drawImage(area, image, area);
    });
}
