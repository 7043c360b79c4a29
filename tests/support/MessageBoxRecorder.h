#pragma once

#include "platform/TMessageBox.h"

#include <vector>

// Takes the place of the real message box for the life of a test and keeps every request.
class MessageBoxRecorder {
public:
    MessageBoxRecorder()
        : previous_(SetMessageBoxFunction(
              [this](const TMessageBoxRequest& request) { boxes.push_back(request); })) {}
    ~MessageBoxRecorder() { SetMessageBoxFunction(previous_); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<TMessageBoxRequest> boxes;

private:
    TMessageBoxFunction previous_;
};
