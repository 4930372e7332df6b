// One running program per user. On Linux a lock file (flock) in the user's runtime folder, and a
// Unix socket beside it on which the first instance hears from later ones (message 1127); on
// Windows a mutex named after the program, and a hidden top-level window of the class
// "MSUIMainFrame" to which later starts send message 1127.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace talvoro::platform {

// The message a second start sends to the first instance.
inline constexpr uint32_t kSecondInstanceMessage = 1127;

class SingleInstance {
  public:
    enum class Role {
        kFirst,             // this process holds the lock
        kSignalledFirst,    // another one holds it and was sent message 1127
        kFirstHasNoWindow,  // another one holds it but nobody listens (still starting)
    };

    // `name`: the application name ("talvoro_gui"). On Linux the files live in the user's runtime
    // folder ($XDG_RUNTIME_DIR, else a private /tmp/talvoro-<uid> folder) unless `folder` is
    // given; Windows has no files and ignores it.
    explicit SingleInstance(std::string name, std::string folder = {});
    // Stops listening and removes the socket. The lock itself is never given back: like the
    // named mutex it stands for, it lasts until the process ends.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock. A second instance sends message 1127 to the first and lets it come to the
    // front. When there is nothing to share a lock in (no private folder, no mutex): kFirst.
    Role acquire();
    // First instance, once its main window exists: listens on the socket; `on_message` is
    // called from a listener thread for each message received. False for a process that does
    // not hold the lock, or when the socket cannot be made.
    [[nodiscard]] bool listen(std::function<void(uint32_t message)> on_message);

    // Linux: the lock file and the socket (empty on Windows).
    const std::string& lock_path() const { return lock_path_; }
    const std::string& socket_path() const { return socket_path_; }

  private:
    class Listener;
    std::string name_;
    std::string lock_path_;
    std::string socket_path_;
    bool folder_ok_ = false;
    bool holds_lock_ = false;
    std::unique_ptr<Listener> listener_;
};

}  // namespace talvoro::platform
