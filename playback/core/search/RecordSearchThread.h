#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "playback/core/search/DayRecordSearch.h"
#include "playback/core/search/SearchRows.h"

class NetCtrl;

// The day's record search off the window thread, so a slow or hostile recorder never holds
// the window: one worker asks for the pages while the window keeps painting and answering. A
// new search replaces the running one, which asks for no further page. Marks and the end come
// to the sinks on the worker, with the search's number, so the window can drop what a
// replaced search still hands on.
class CRecordSearchThread {
public:
    struct Request {
        int day_key = 0;
        SearchRows rows;
        bool stop_play = false;  // the running playback stops before the search
    };
    using PageSink = std::function<void(std::uint64_t search, const PageMarks& marks)>;
    using EndSink = std::function<void(std::uint64_t search, int result)>;

    CRecordSearchThread(NetCtrl& connection, PageSink on_page, EndSink on_end);
    ~CRecordSearchThread();
    CRecordSearchThread(const CRecordSearchThread&) = delete;
    CRecordSearchThread& operator=(const CRecordSearchThread&) = delete;

    // Starts a search in place of any other: its number, never 0.
    std::uint64_t Start(const Request& request);
    // The search asks for no further page; the one on the wire still ends first.
    void Cancel();
    // Until the latest search has asked for its day, so a play request that follows plays the
    // searched day (the recorder keeps the day of the last search). At once when none waits.
    void WaitForDay();
    // Cancel, then the worker ends once the page on the wire has come back.
    void Stop();

private:
    void Run();
    bool Current(std::uint64_t search);
    void DayAsked(std::uint64_t search);

    NetCtrl& connection_;
    const PageSink on_page_;
    const EndSink on_end_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Request> pending_;
    std::uint64_t latest_ = 0;  // the number of the last search started or cancelled
    bool day_pending_ = false;  // the latest search has not asked for its day yet
    bool stopping_ = false;
    RecordPage page_{};  // the worker's only
    std::thread worker_;
};
