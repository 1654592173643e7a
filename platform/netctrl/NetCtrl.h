#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/netctrl/FrameQueue.h"
#include "platform/netctrl/LinkState.h"
#include "platform/netctrl/NetTimeouts.h"
#include "platform/netctrl/protocol/Messages.h"
#include "platform/records/DvrMachineInfo.h"
#include "platform/records/NetCommand.h"
#include "platform/records/NetFrameHead.h"
#include "platform/records/NetMacSetPara.h"
#include "platform/records/QrfFileShowInfo.h"

class RecorderLink;
enum class AnswerEffect : int;

// Client of one recorder (docs/protocol.md). One object is used by three threads at once: a
// connect thread (log-in, then starting the stream), a frame thread (GetMachineInfe,
// IsHavePicBuf, GetRawPicBuf) and the window thread (the rest).
//
// - GetMachineInfe never waits for the network: it copies a snapshot under a lock that is only
//   ever held for that copy.
// - Calls that talk to the recorder run one at a time and each waits at most the time-outs of
//   NetTimeouts; a recorder that does not answer in time loses the link (state 3).
// - While nobody is logged in they fail at once, so a window call never waits for a log-in.
// - Frames go through a bounded FrameQueue filled by the link's receiver thread.
class NetCtrl {
public:
    static constexpr int kConnectError = -1005;

    NetCtrl();
    explicit NetCtrl(const NetTimeouts& timeouts, FrameQueueLimits limits = {});
    virtual ~NetCtrl();
    NetCtrl(const NetCtrl&) = delete;
    NetCtrl& operator=(const NetCtrl&) = delete;

    int InitNetWork();
    int StopNetWork();
    // >= 0 logged in (link state 1); -2 user or password wrong; -3 super user busy; -4 too many
    // users; -1005 no connection; -1 any other failure (LastError says which).
    int ConnectToServer(const char* host, int port, const char* user, const char* password);
    int DisConnect();
    int ResetNetWork();  // link state 0 afterwards, whatever it was

    _DVR_MACHINE_INFO_ GetMachineInfe();
    int GetMachineDiskInfo();
    int GetMachineLedInfo();

    int SetNetParameter(int rate, int fps, int reserved);
    int NetLocalViewPlay(int channel_mask, int send_audio);
    int StopNetLocalView();  // 1 = stopped
    int CreateNetKeyFrame();
    int IsHavePicBuf();  // frames waiting
    // Waits up to wait_ms for a frame; > 0 when one waits. For frame threads that would
    // otherwise sleep between polls: the pause ends as soon as the stream goes on.
    int WaitForPicBuf(int wait_ms);
    // The oldest frame: 36-byte head into head, payload (<= kMaxFramePayloadBytes) into data.
    // Returns the payload size, < 0 when no frame waits.
    int GetRawPicBuf(char* head, char* data);
    // For a frame thread that takes what waits at once: every waiting frame under one lock
    // (FrameQueue::TakeAll), and a wait for frames without a time-out that WakePicWaiters, a
    // lost link, the end of the live stream or a new session also ends. Read PicWakes before
    // checking whatever else ends the wait.
    void TakePicBufs(std::vector<FrameQueue::Taken>& frames);
    void RecyclePicBufs(std::vector<FrameQueue::Taken>& frames);
    uint64_t PicWakes();
    int WaitForPicBufOrWake(uint64_t seen_wakes);  // > 0 when a frame waits
    void WakePicWaiters();

    int SendNetCommand(_NET_COMMAND_ command);
    int GetDvrMacPara(NET_MAC_SET_PARA* para);
    int SetDvrMacPara(const NET_MAC_SET_PARA* para);

    // Seconds of the day of the last TimeToSearchRecList. Link state 2 from the accepted
    // request until every frame of the span has been taken by IsHavePicBuf/GetRawPicBuf
    // (the caller's next call after the last frame), then 1.
    int NetPlayFile(long start_s, long end_s, int channel_mask, int audio, int fast);
    int StopNetPlayFile();
    // Fills all 300 entries of list (unused ones zero). Page 0 returns the page count;
    // later pages the entries on them; < 0 = error.
    int TimeToSearchRecList(long date_key, _QRF_FILESHOWINFO* list, int page);

    int NetSendUpdateFile(const char* local_path, const char* remote_path);  // < 0 = not sent
    int ExecuteShell(const char* command);

    // Why the last failed call failed, in words.
    std::string LastError() const;

private:
    template <typename Answer>
    int Request(netproto::Body request, AnswerEffect effect, Answer& answer);
    template <typename Answer>
    int RequestLocked(netproto::Body request, AnswerEffect effect, Answer& answer);
    int RequestAck(netproto::Body request, AnswerEffect effect);
    bool LoggedIn() const;
    int NotLoggedIn();
    void Teardown();
    void AbortLogin();
    bool LoginAborted(uint64_t generation) const;
    int Fail(int code, std::string why);
    int Login(int fd, const std::string& user, const std::string& password);
    int SendFileBody(std::FILE* file, uint64_t size_bytes);  // call lock held

    const NetTimeouts timeouts_;
    LinkState state_;
    FrameQueue frames_;

    std::mutex info_mutex_;  // held only to copy the snapshot
    _DVR_MACHINE_INFO_ info_{};

    std::mutex call_mutex_;  // one conversation with the recorder at a time
    std::unique_ptr<RecorderLink> link_;
    std::atomic<bool> initialized_{false};

    // A stop, log-out or reset counts up the generation and signals the event: a log-in
    // started under an older generation gives up, and its connect wakes at once.
    std::atomic<uint64_t> abort_generation_{0};
    int abort_event_ = -1;    // eventfd
    std::mutex login_mutex_;  // guards login_fd_, so a log-in in progress can be cut short
    int login_fd_ = -1;

    mutable std::mutex error_mutex_;
    std::string last_error_;
};
