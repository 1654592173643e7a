#pragma once

#include <QDialog>
#include <QIcon>
#include <QPoint>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/settings/ConfigFile.h"
#include "common/settings/LanguageSelect.h"
#include "common/ui/core/GdiRenderer.h"
#include "common/ui/core/WindowGate.h"
#include "common/ui/widgets/SkinBitmap.h"
#include "common/ui/widgets/WindowTimers.h"
#include "liveview/core/streaming/ConnectThreads.h"
#include "liveview/core/window/ButtonStates.h"
#include "liveview/core/window/HoverTitle.h"
#include "liveview/core/window/PtzPad.h"
#include "platform/ddraw/DDrawCtrl.h"
#include "platform/keepawake/ScreenSaverInhibit.h"
#include "platform/profile/ProgramFolder.h"
#include "platform/surface/ScreenRect.h"

class CDvrManager;
class CSegmentLabel;
class CSettleSteps;
class CSkinButton;
class CVideoGrid;
class DlgDvrInfo;
class DlgDvrSet;
class QAbstractButton;
class QTreeWidget;
class QTreeWidgetItem;

// The live view's main window: a borderless, skinned window of 1024 x 738 with the device
// tree, the device and tool buttons, the pan/tilt/zoom pad and the 256-cell video grid. It
// connects each device on a thread of its own and drives everything periodic from its timers.
// Worker threads reach it only through its gate, never a widget directly.
//
// The handlers are spread by concern: CLiveViewDlg.cpp (start-up, layout, skin, window
// behaviour, shutdown), CLiveViewDlgTree.cpp (device tree, device buttons, connect threads),
// CLiveViewDlgTimers.cpp (the timers), CLiveViewDlgDialogs.cpp (settings, password and info
// dialogs), CLiveViewDlgViews.cpp (layouts, cells, full window, tree selection, channel menu),
// CLiveViewDlgPad.cpp (the pan/tilt/zoom pad), CLiveViewDlgTools.cpp (snapshot and audio).
class CLiveViewDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxTreeItems = 64;
    // Images of the tree's image list.
    static constexpr int kImageRoot = 0;
    static constexpr int kImageUser = 1;
    static constexpr int kImageIdle = 2;
    static constexpr int kImageSuperUser = 3;

    // The manager outlives the window; program_folder holds config/, language/ and skin1/.
    explicit CLiveViewDlg(CDvrManager& manager, std::string program_folder = ProgramFolder(),
                          QWidget* parent = nullptr);
    ~CLiveViewDlg() override;

    // Start-up: texts, every control at its place, grid, tree, display, skins, timers, device
    // list, label and the password check. false when the grid cannot be set up (nothing
    // after it runs then).
    bool OnInitDialog();
    // The one way out: the store is saved, every thread stopped, then the window ends.
    void OnCancel();
    void OnMinimize();
    void OnAbout();

    // Device tree.
    int InsertTreeItem(const std::string& text, int image, int selected_image);
    int DeleteTreeItem(int i);
    int FindSelectedItem() const;
    void SetTreeItem(const std::string& text, int image, int selected_image, int i);
    void LoadDvrList();

    // Device buttons.
    void OnAdd();
    void OnConnect();
    void OnDisconnect();
    void OnRec();
    void OnStopRec();
    void OnDelete();
    void OnLive();
    void OnStopLive();

    // The dialog buttons SET, ADMIN and INFO (CLiveViewDlgDialogs.cpp).
    void OnSet();
    void OnAdmin();
    void OnInfo();

    // The video window's views (CLiveViewDlgViews.cpp).
    void OnLayout(int layout);
    // A left press at a client point: a cell toggles single mode, elsewhere the window drags.
    void OnLButtonDown(const QPoint& client);
    void OnFullWindow();
    void RestoreLayout();
    // The tree's selection decides the view: one device's cameras or every device's.
    void OnDvrSelected();
    // A right press at a client point: the channel menu of the all-devices view.
    void OnRButtonDown(const QPoint& client);
    void BuildChannelMenu(int cell, int x, int y);
    // The channel menu's commands; other ids change nothing.
    void OnCommand(int id);
    // Cell titles from the window map.
    void ApplyWindowMap();
    bool FullWindow() const { return full_window_; }
    // Steps of the last view change still waiting for the frame threads to settle.
    bool Settling() const;
    int CurrentDvr() const { return current_dvr_; }
    int RightClickMark() const { return right_click_mark_; }

    // The pan/tilt/zoom pad, shown or covered by its plate (CLiveViewDlgPad.cpp).
    void ShowPanel();
    void HidePanel();
    // The cell shown alone, or -1 while more than one is visible.
    int GetSelectedChannel() const;
    void OnPtzEnter();
    void OnPtzAuto();
    // A request of the pad, handled in posting order. Returns 1.
    int OnPtzCommand(int code, int param);
    const CPtzPad& Pad() const { return pad_; }

    // The tool row (CLiveViewDlgTools.cpp).
    void OnCapture();
    void OnAudioOn();
    void OnAudioOff();

    // Posted to itself for a lost link (code 3).
    void OnNetStatus(int code, int slot);

    // Timers keep their ids; OnTimer is their dispatcher.
    void OnTimer(int id);
    const CWindowTimers& Timers() const { return timers_; }

    // The controls by id (buttons, tree, label, grid), nullptr for an unknown id.
    QWidget* Control(int id) const;
    QTreeWidget* Tree() const { return tree_; }
    CVideoGrid* Grid() const { return grid_; }
    CSegmentLabel* StatusLabel() const { return status_label_; }
    const LanguageSelect& Texts() const { return texts_; }
    int Role() const { return role_; }
    bool PasswordLock() const { return password_lock_; }
    // The way out was taken (by the start-up password check, or OnCancel).
    bool Closed() const { return closed_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Every window's input passes here first, as the pad needs presses before the buttons.
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void reject() override;

private:
    void CreateControls();
    void PlaceControls();
    void SkinButtons();
    void SetUpTree();
    void SetUpDisplay();
    void StartTimers();
    CSkinButton* Button(int id) const;
    void ConnectButtons();
    std::string SkinPath(const std::string& file) const;
    // Stops everything the window started; safe to call twice.
    void CloseDown();

    // Connect threads.
    void StartConnectThread(int slot);
    void ConnectThreadProc(int slot);
    void DoConnect(int slot);
    std::string ShowName(int slot) const;
    void SetItemImage(QTreeWidgetItem* item, int image, int selected_image);

    // Timers.
    void OnButtonStates();
    void OnGridRect();
    void OnLostLink();
    void OnKeepAwake();
    void OnLockButtons();
    void OnHoverTitle();
    void OnDragEnd();
    void OnRepaint();
    void OnConnectWatch(int slot);
    // Timer 16: the open info dialog's disks and lamps.
    void OnDiskInfo();
    // Under the password lock the user role may watch but not manage.
    bool RoleForbids() const;
    void Apply(const std::vector<ButtonStep>& steps);
    ScreenRect GridWindowRect() const;
    bool InGrid(const QPoint& screen_point) const;
    // Wipes the pictures over the grid and repaints it.
    void EraseGrid();
    // After the grid moved or changed size: pictures only inside it, drawn by its new place.
    void FollowGrid();

    // The pad.
    void PreTranslateMessage(QEvent* event);
    CPtzPad::Hits PadHits(const QPoint& screen_point) const;
    void PostPtz(const PtzRequest& request);
    void OnPadGuard();

    CDvrManager& manager_;
    const std::string program_folder_;
    CConfigFile settings_;
    LanguageSelect texts_;
    CSkinBitmap background_;
    QIcon icon_;

    std::map<int, QAbstractButton*> buttons_;
    QTreeWidget* tree_ = nullptr;
    CSegmentLabel* status_label_ = nullptr;
    CVideoGrid* grid_ = nullptr;

    std::array<QIcon, 4> tree_images_;
    QTreeWidgetItem* root_item_ = nullptr;
    std::array<QTreeWidgetItem*, kMaxTreeItems> items_{};
    int item_count_ = 0;

    DDrawCtrl ddraw_;
    CGdiRenderer renderer_;
    // The grid's place on screen as the frame threads draw by it, and as timer 11 last saw it.
    ScreenRect grid_window_;
    ScreenRect grid_window_seen_;

    CWindowTimers timers_{this, [this](int id) { OnTimer(id); }};
    CConnectThreads connect_threads_;
    std::shared_ptr<CWindowGate> gate_;
    ScreenSaverInhibit keep_awake_;

    // The device the views show; -1 for the root.
    int current_dvr_ = -1;
    bool full_window_ = false;
    bool password_lock_ = false;
    int role_ = 0;
    // Set by a right press in the all-devices view; while it is 1 no hover title opens.
    int right_click_mark_ = 0;
    CHoverTitle hover_;
    CPtzPad pad_;
    bool repaint_armed_ = false;
    // What waits after a layout change, a selection or a channel command.
    CSettleSteps* settle_ = nullptr;

    // A drag of the window by its background.
    bool dragging_window_ = false;
    QPoint drag_offset_;

    bool closed_ = false;

    // Made at their first use and reused while the window lives.
    DlgDvrSet* dvr_set_ = nullptr;
    DlgDvrInfo* dvr_info_ = nullptr;
};
