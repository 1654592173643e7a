#pragma once

// Time limits of one recorder connection, in milliseconds. No call waits longer than these.
struct NetTimeouts {
    int connect_ms = 5000;     // TCP connection set-up
    int exchange_ms = 5000;    // one request and its answer, or one send
    int logout_ms = 1000;      // the polite log-out before a link is closed
    int keepalive_ms = 2000;   // idle time before the client sends a keep-alive
    int silence_ms = 10000;    // nothing received for this long: the link is lost
    int frame_wait_ms = 5000;  // playback: how long a full frame queue holds the link back
};
