// The main window's start-up, layout and skin, its behaviour as a borderless window, and the
// one way out.
#include "liveview/app/CLiveViewDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>

#include "common/ui/widgets/CAboutDlg.h"
#include "common/ui/widgets/MessageBoxSeam.h"
#include "common/ui/widgets/QueuedGate.h"
#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/SkinButton.h"
#include "common/ui/widgets/VideoGrid.h"
#include "liveview/app/DlgLockCheck.h"
#include "liveview/app/SettleSteps.h"
#include "liveview/core/streaming/ConnectMessages.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/core/window/MainWindowLayout.h"
#include "liveview/core/window/VideoViews.h"
#include "liveview/manager/DvrManager.h"
#include "platform/surface/VideoSurfaceView.h"

namespace {

using namespace live_view_id;

// The system menu's About item.
const char kAboutText[] = "&About Oculan...";

// The grid's colours: frame red 6, green 45, blue 80; white titles; black cells.
constexpr std::uint32_t kGridFrame = 0x502D06;
constexpr std::uint32_t kGridText = 0xFFFFFF;
constexpr std::uint32_t kGridFill = 0;

// Icons of the tree's image list, by resource number, in image-list order.
constexpr int kTreeIconIds[] = {138, 139, 140, 162};

}  // namespace

CLiveViewDlg::CLiveViewDlg(CDvrManager& manager, std::string program_folder, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      manager_(manager),
      program_folder_(std::move(program_folder)),
      settings_(program_folder_),
      icon_(QString::fromStdString(program_folder_ + "/res/Oculan.png")),
      keep_awake_("Oculan", "Live video on screen") {
    setWindowTitle("Oculan");
    gate_ = CreateQueuedGate(this);
    // Boxes of connect and frame threads wait for the window thread, or for the window to
    // begin closing, whichever comes first.
    manager_.SetMessageSink([gate = gate_, this](const std::string& text) {
        gate->Call([this, text] { ShowMessageBox(this, QString::fromStdString(text)); });
    });
    settle_ = new CSettleSteps(this);
    CreateControls();
    ConnectButtons();
}

CLiveViewDlg::~CLiveViewDlg() { CloseDown(); }

// The dialog template: every control, at no particular place yet, stacked in the table's
// order (the label lies under the layout buttons it overlaps). The grid comes at start-up.
void CLiveViewDlg::CreateControls() {
    for (const MainWindowControl& control : MainWindowControls()) {
        if (control.stem != nullptr) {
            auto* button = new CSkinButton(this);
            button->setAutoDefault(false);
            button->setFocusPolicy(Qt::NoFocus);
            buttons_[control.id] = button;
        } else if (control.id == kTree) {
            tree_ = new QTreeWidget(this);
            tree_->setHeaderHidden(true);
            tree_->setRootIsDecorated(false);
            tree_->setItemsExpandable(false);
            tree_->setIconSize(QSize(16, 16));
            tree_->setFrameShape(QFrame::Box);
            // Focus from the keyboard would make the root current and so select the
            // all-devices view by itself; nothing is selected until the operator clicks.
            tree_->setFocusPolicy(Qt::ClickFocus);
        } else if (control.id == kStatusLabel) {
            status_label_ = new CSegmentLabel(this);
        }
    }
    for (const MainWindowControl& control : HiddenPlainButtons()) {
        auto* button = new QPushButton(this);
        button->setAutoDefault(false);
        button->hide();
        buttons_[control.id] = button;
    }
}

void CLiveViewDlg::ConnectButtons() {
    const std::pair<int, void (CLiveViewDlg::*)()> handlers[] = {
        {kAdd, &CLiveViewDlg::OnAdd},         {kDelete, &CLiveViewDlg::OnDelete},
        {kConnect, &CLiveViewDlg::OnConnect}, {kDisconnect, &CLiveViewDlg::OnDisconnect},
        {kRec, &CLiveViewDlg::OnRec},         {kStopRec, &CLiveViewDlg::OnStopRec},
        {kLive, &CLiveViewDlg::OnLive},       {kStop, &CLiveViewDlg::OnStopLive},
        {kSet, &CLiveViewDlg::OnSet},         {kAdmin, &CLiveViewDlg::OnAdmin},
        {kInfo, &CLiveViewDlg::OnInfo},       {kMinimise, &CLiveViewDlg::OnMinimize},
        {kClose, &CLiveViewDlg::OnCancel},    {kExit, &CLiveViewDlg::OnCancel},
    };
    for (const auto& [id, handler] : handlers)
        connect(buttons_.at(id), &QAbstractButton::clicked, this, handler);
    const std::pair<int, void (CLiveViewDlg::*)()> tools[] = {
        {kFullWindow, &CLiveViewDlg::OnFullWindow}, {kEnter, &CLiveViewDlg::OnPtzEnter},
        {kAuto, &CLiveViewDlg::OnPtzAuto},          {kCapture, &CLiveViewDlg::OnCapture},
        {kAudioOn, &CLiveViewDlg::OnAudioOn},       {kAudioOff, &CLiveViewDlg::OnAudioOff},
    };
    for (const auto& [id, handler] : tools)
        connect(buttons_.at(id), &QAbstractButton::clicked, this, handler);
    for (const auto& [id, button] : buttons_) {
        if (const int layout = LayoutOfButton(id); layout > 0)
            connect(button, &QAbstractButton::clicked, this, [this, layout] { OnLayout(layout); });
    }
    connect(tree_, &QTreeWidget::currentItemChanged, this, &CLiveViewDlg::OnDvrSelected);
}

bool CLiveViewDlg::OnInitDialog() {
    auto* system_menu = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(system_menu, &QShortcut::activated, this, [this] {
        QMenu menu(this);
        menu.addAction(kAboutText, this, &CLiveViewDlg::OnAbout);
        menu.exec(mapToGlobal(QPoint(0, 0)));
    });
    setWindowIcon(icon_);
    full_window_ = false;

    texts_.Load(program_folder_, LanguageFileFor(settings_.GetLanguage()));
    manager_.SetTexts(texts_);
    move(0, 0);
    resize(kMainWindowWidth_px, kMainWindowHeight_px);
    PlaceControls();

    grid_ = new CVideoGrid(this);
    const MainWindowControl& grid_place = *FindMainWindowControl(kGrid);
    grid_->setGeometry(grid_place.x, grid_place.y, grid_place.width, grid_place.height);
    grid_->Init(256, 16);

    SetUpTree();
    SetUpDisplay();
    SkinButtons();
    StartTimers();
    qApp->installEventFilter(this);
    LoadDvrList();

    _DVR_SETTINGS_ first;
    if (manager_.GetDvr(0, first) >= 0) status_label_->SetText(first.show_name);

    password_lock_ = false;
    if (manager_.GetPasswordFlag() == 1) {
        DlgLockCheck check(this);
        check.SetPasswords(manager_.GetAdminPassword(), manager_.GetUserPassword());
        if (check.DoModal() != QDialog::Accepted) {
            OnCancel();
            return true;
        }
        role_ = check.Role();
        password_lock_ = true;
    }
    return true;
}

void CLiveViewDlg::PlaceControls() {
    for (const auto table : {MainWindowControls(), HiddenPlainButtons()}) {
        for (const MainWindowControl& control : table) {
            if (control.id == kGrid) continue;
            QWidget* widget = Control(control.id);
            // OK, LIVE and STOP keep the template's place.
            if (control.id == kOk || control.id == kLive || control.id == kStop) continue;
            widget->setGeometry(control.x, control.y, control.width, control.height);
        }
    }
    for (int id : {kSpare1021, kAudioOff, kMap})
        Control(id)->hide();
}

void CLiveViewDlg::SetUpTree() {
    for (std::size_t i = 0; i < tree_images_.size(); ++i) {
        tree_images_[i] = QIcon(QString::fromStdString(program_folder_ + "/res/icon" +
                                                       std::to_string(kTreeIconIds[i]) + ".png"));
    }
    root_item_ = new QTreeWidgetItem(tree_, QStringList{"DVR"});
    SetItemImage(root_item_, kImageRoot, kImageRoot);
    root_item_->setExpanded(true);
    item_count_ = 0;
}

void CLiveViewDlg::SetUpDisplay() {
    ddraw_.InitDDraw(grid_, 1, 2);
    renderer_.SetDC(CVideoSurfaceView::SurfaceOf(this));
    // Pictures belong to the grid; one drawn by a rectangle gone stale stops at its edge.
    CVideoSurfaceView::ClipTo(grid_);
    manager_.SetGdiMode(1);
    grid_window_ = grid_window_seen_ = GridWindowRect();
    manager_.SetDisplayTargets(&grid_->Cells(), &renderer_, grid_window_);
    grid_->SetColors(kGridFrame, kGridText, kGridFill);
}

std::string CLiveViewDlg::SkinPath(const std::string& file) const {
    return program_folder_ + "/skin1/" + file;
}

void CLiveViewDlg::SkinButtons() {
    background_.SetFileName(SkinPath("BACKGROUND.bmp"));
    background_.LoadFromFile(1);
    for (int id : SkinOrder()) {
        const MainWindowControl& control = *FindMainWindowControl(id);
        const std::string stem = control.stem;
        CSkinButton* button = Button(id);
        button->PreSubclassWindow();
        button->SetImages(SkinPath(stem + "1.bmp"), SkinPath(stem + "3.bmp"),
                          SkinPath(stem + (control.images == 4 ? "4.bmp" : "1.bmp")),
                          SkinPath(stem + "2.bmp"));
        if (control.tooltip_key != nullptr) {
            button->SetToolTipText(texts_.Text(control.tooltip_key).c_str(), 1);
        } else if (control.tooltip_text != nullptr) {
            button->SetToolTipText(control.tooltip_text, 1);
        }
    }
}

QWidget* CLiveViewDlg::Control(int id) const {
    if (const auto it = buttons_.find(id); it != buttons_.end()) return it->second;
    switch (id) {
        case kTree:
            return tree_;
        case kStatusLabel:
            return status_label_;
        case kGrid:
            return grid_;
        default:
            return nullptr;
    }
}

CSkinButton* CLiveViewDlg::Button(int id) const {
    return qobject_cast<CSkinButton*>(buttons_.at(id));
}

ScreenRect CLiveViewDlg::GridWindowRect() const {
    const QPoint origin = grid_->mapToGlobal(QPoint(0, 0));
    return {origin.x(), origin.y(), origin.x() + grid_->width(), origin.y() + grid_->height()};
}

void CLiveViewDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!background_.Tile(painter, rect())) painter.fillRect(rect(), palette().window());
}

void CLiveViewDlg::keyPressEvent(QKeyEvent* event) {
    // Esc never closes the window; in full window it brings the window back. Enter has no
    // default button to press.
    switch (event->key()) {
        case Qt::Key_Escape:
            event->accept();
            if (full_window_) {
                manager_.SetSkipOneFrame();
                RestoreLayout();
            }
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

// Presses on the grid come here too: the grid leaves the mouse to its window.
void CLiveViewDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        OnLButtonDown(event->position().toPoint());
    } else if (event->button() == Qt::RightButton) {
        OnRButtonDown(event->position().toPoint());
        return;
    }
    QDialog::mousePressEvent(event);
}

void CLiveViewDlg::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_window_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - drag_offset_);
    QDialog::mouseMoveEvent(event);
}

void CLiveViewDlg::mouseReleaseEvent(QMouseEvent* event) {
    // The dragging flag falls at the next timer tick.
    if (event->button() == Qt::LeftButton) dragging_window_ = false;
    QDialog::mouseReleaseEvent(event);
}

void CLiveViewDlg::OnMinimize() { showMinimized(); }

void CLiveViewDlg::OnAbout() {
    CAboutDlg about(icon_, QStringLiteral("Oculan"), this);
    about.exec();
}

void CLiveViewDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnCancel();
}

void CLiveViewDlg::reject() { OnCancel(); }

void CLiveViewDlg::OnCancel() {
    if (closed_) return;
    CloseDown();
    QDialog::done(QDialog::Rejected);
}

void CLiveViewDlg::CloseDown() {
    if (closed_) return;
    closed_ = true;
    qApp->removeEventFilter(this);
    // Nothing that waits for the frame threads may run once they are stopped.
    settle_->Drop();
    // Workers waiting for the window are let go first: the shutdown below waits for them.
    gate_->Close();
    timers_.KillAll();
    // The store is written first of all; when it cannot be, the operator hears of it before
    // the program ends, as the run's changes are lost.
    if (manager_.Shutdown() < 0) {
        ShowMessageBox(
            this,
            QString::fromStdString(FillText(texts_.Text("Store_Word2"), {manager_.StorePath()})),
            {}, MessageBoxButtons::kOk, MessageBoxIcon::kError);
    }
    // Log-ins and lookups were cut short by the shutdown, so these end soon.
    connect_threads_.JoinAll();
}
