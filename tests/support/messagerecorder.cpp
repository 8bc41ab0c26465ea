#include "support/messagerecorder.h"

MessageRecorder::MessageRecorder() {
    setMessageBoxesHeadless(true);
    setMessageBoxObserver([this](const MessageBoxRecord& box) { boxes.push_back(box); });
}

MessageRecorder::~MessageRecorder() {
    setMessageBoxObserver(nullptr);
}
