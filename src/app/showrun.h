// One run of the show as the program makes it: its clock (the performance counter, or the
// stepping clock of a capture or benchmark), the demo, and for those offline runs what looks on.
// The host takes the demo's frames between start() and finish(): a loop on the desktop, the
// browser's main loop in the page. Main thread; the data folder must be the working directory.
#pragma once

#include <memory>
#include <string>

#include "offline/offlinerun.h"
#include "platform/performancecounter.h"
#include "show/demo.h"
#include "show/options.h"

class CShowRun {
public:
    explicit CShowRun(const COptions& options);
    ~CShowRun();
    CShowRun(const CShowRun&) = delete;
    CShowRun& operator=(const CShowRun&) = delete;

    // Opens the window and loads the show, ready for its first frame. False, with `error` saying
    // why, when it cannot begin.
    bool start(std::string& error);
    CDemo& demo() { return *show; }
    // Shuts the demo down and ends an offline run (its summary and table); returns the program's
    // exit status.
    int finish();

private:
    bool startOffline(std::string& error);

    const COptions options;
    std::unique_ptr<COfflineRun> offline;
    std::unique_ptr<CPerformanceCounter> counter;
    std::unique_ptr<CDemo> show;  // released first, as it was made last
};
