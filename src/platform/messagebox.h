// Modal message boxes for failures, the way the show reports every error to the user.
// Where no box can be shown (no display, offscreen or capture runs) the caption and text go to
// standard error instead, so a run never blocks. While a box waits, Ctrl-C and SIGTERM end the
// program. Main thread only.
#pragma once

#include <functional>
#include <string>

struct SDL_Window;

enum class MessageBoxStyle { Plain, Error };

struct MessageBoxRecord {
    MessageBoxStyle style;
    std::string caption;
    std::string text;
};

// The shared error box: error icon, no owner window.
void showError(const char* text, const char* caption);

// The plain box: OK button, no icon; owned by `owner` when one is given.
void showMessage(const char* text, const char* caption, SDL_Window* owner = nullptr);

// Sends every later box to standard error instead of the screen (capture and benchmark runs).
void setMessageBoxesHeadless(bool headless);

// Every box shown is also handed to the observer (tests look at what was reported).
void setMessageBoxObserver(std::function<void(const MessageBoxRecord&)> observer);
