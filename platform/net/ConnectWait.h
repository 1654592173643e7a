#pragma once

// Waits for a connect started on the non-blocking socket fd. 0 once connected, else why not
// as an errno value: ETIMEDOUT after timeout_ms, ECANCELED as soon as cancel_fd (an eventfd or
// a pipe; -1 for none) turns readable, or the socket's own error.
int WaitConnected(int fd, int timeout_ms, int cancel_fd = -1);
