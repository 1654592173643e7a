#include "playback/core/search/RecordSearchThread.h"

#include "platform/netctrl/NetCtrl.h"

CRecordSearchThread::CRecordSearchThread(NetCtrl& connection, PageSink on_page, EndSink on_end)
    : connection_(connection), on_page_(std::move(on_page)), on_end_(std::move(on_end)) {
    worker_ = std::thread([this] { Run(); });
}

CRecordSearchThread::~CRecordSearchThread() { Stop(); }

std::uint64_t CRecordSearchThread::Start(const Request& request) {
    std::lock_guard lock(mutex_);
    pending_ = request;
    day_pending_ = true;
    changed_.notify_all();
    return ++latest_;
}

void CRecordSearchThread::Cancel() {
    std::lock_guard lock(mutex_);
    pending_.reset();
    day_pending_ = false;
    ++latest_;
    changed_.notify_all();
}

void CRecordSearchThread::WaitForDay() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !day_pending_ || stopping_; });
}

void CRecordSearchThread::Stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        stopping_ = true;
        pending_.reset();
        ++latest_;
        changed_.notify_all();
    }
    worker_.join();
}

bool CRecordSearchThread::Current(std::uint64_t search) {
    std::lock_guard lock(mutex_);
    return search == latest_ && !stopping_;
}

void CRecordSearchThread::DayAsked(std::uint64_t search) {
    std::lock_guard lock(mutex_);
    if (search == latest_) day_pending_ = false;
    changed_.notify_all();
}

void CRecordSearchThread::Run() {
    for (;;) {
        Request request;
        std::uint64_t search = 0;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
            if (stopping_) return;
            request = *pending_;
            pending_.reset();
            search = latest_;
        }
        if (request.stop_play) connection_.StopNetPlayFile();
        bool day_asked = false;
        const int result = SearchDayRecords(connection_, request.day_key, request.rows, page_,
                                            [&](const PageMarks& marks) {
                                                if (!day_asked) DayAsked(search);
                                                day_asked = true;
                                                if (!Current(search)) return false;
                                                on_page_(search, marks);
                                                return true;
                                            });
        if (!day_asked) DayAsked(search);
        if (Current(search)) on_end_(search, result);
    }
}
