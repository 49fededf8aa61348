// Sending each registered procedure's Patient Radiation Dose SR to the hospital's archive
// ("forward = AE@HOST:PORT"): a C-STORE per file, retried until the archive accepts it, each
// attempt in the journal. The files wait in a folder of the spool, so that what was not yet
// accepted is sent after a restart too.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace ordevo::node {

struct ForwardTarget {
    std::string AeTitle, Host;
    int Port = 0;
    std::string Text() const;  // "AE@HOST:PORT"
};

// "AE@HOST:PORT" (an IPv6 host in brackets); none with *why (Japanese) otherwise.
std::optional<ForwardTarget> ParseForwardTarget(const std::string& text, std::string* why);

// One association and one C-STORE of the file: "" when the archive accepted it (success or a
// warning status), else why not.
std::string StoreFile(const ForwardTarget& target, const std::string& callingAe,
                      const std::string& path);

class DoseForwarder {
public:
    // Sends the files added, and those `folder` holds from an earlier run, one after another;
    // a file the archive accepted is removed. After a failure the same file is tried again after
    // `firstRetry`, the wait doubling up to `longestRetry`.
    DoseForwarder(ForwardTarget target, std::string callingAe, std::string folder,
                  std::chrono::milliseconds firstRetry = std::chrono::seconds(10),
                  std::chrono::milliseconds longestRetry = std::chrono::minutes(10));
    ~DoseForwarder();  // stops between attempts; what is unsent stays in the folder
    DoseForwarder(const DoseForwarder&) = delete;
    DoseForwarder& operator=(const DoseForwarder&) = delete;

    // A file written into the folder.
    void Add(const std::string& path);
    const std::string& Folder() const { return folder_; }

private:
    void Run();
    ForwardTarget target_;
    std::string callingAe_, folder_;
    std::chrono::milliseconds firstRetry_, longestRetry_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::string> queue_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace ordevo::node
