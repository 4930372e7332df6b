// The write, fsync, close and rename calls of the code under test, seen through the linker's
// --wrap (tests/files/CMakeLists.txt): which file each acted on and in what order, and one made
// to fail as a full disk or a failing drive would.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace talvoro::test {

struct SystemCall {
    std::string name;  // "write", "fsync", "close" or "rename"
    std::string path;  // the file acted on, resolved; for rename the old name
    std::string to;    // rename: the new name, resolved
    size_t size = 0;   // write: bytes offered; fsync: the file's size at that moment
};

// Records the calls on files in one folder (and on the folder itself) while it lives. One log
// at a time.
class SystemCallLog {
  public:
    explicit SystemCallLog(const std::string& folder);
    ~SystemCallLog();
    SystemCallLog(const SystemCallLog&) = delete;
    SystemCallLog& operator=(const SystemCallLog&) = delete;

    // `name` resolved as the log names files: symbolic links followed.
    std::string resolved(const std::string& name) const;
    const std::vector<SystemCall>& calls() const { return calls_; }

    // The next `call` on a file in the folder fails with `error`; a close still closes, as on
    // a network file system that reports a lost write there. Faults of different calls add up.
    void fail_next(const std::string& call, int error) { faults_.push_back(Fault{call, error}); }
    // Each write takes at most `bytes` of what it is offered; 0 takes nothing, as a full disk.
    void limit_writes(size_t bytes) { write_limit_ = bytes; }

    // For the wrappers.
    bool watches(const std::string& path) const;
    bool take_fault(const std::string& call, int& error);
    std::optional<size_t> write_limit() const { return write_limit_; }
    void record(SystemCall call) { calls_.push_back(std::move(call)); }

  private:
    struct Fault {
        std::string call;
        int error = 0;
    };
    std::string folder_;
    std::vector<SystemCall> calls_;
    std::vector<Fault> faults_;
    std::optional<size_t> write_limit_;
};

}  // namespace talvoro::test
