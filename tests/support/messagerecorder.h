// Test support: records every message box shown while it lives, and keeps them off the screen.
#pragma once

#include <vector>

#include "platform/messagebox.h"

class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();

    std::vector<MessageBoxRecord> boxes;
};
