#pragma once

#include <string>

struct ServerAddress {
    std::string host;
    int port = 0;
};

// The log-in dialog's server text, split at its last ':' into host and port. The port is the
// number at the start of the rest (leading blanks skipped, 0 without digits); without any ':'
// the host is empty and the whole text is the port.
ServerAddress SplitServerText(const std::string& text);
