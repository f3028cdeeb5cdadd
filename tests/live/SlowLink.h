// A slow network between the PostgreSQL driver and the test server: a Unix socket in a folder of
// its own that the driver reaches as SERVER=folder, handing the server's bytes on at a set rate
// and the driver's at once. A large result then keeps arriving steadily for as long as the test
// wants, with no change to the server or to what the engine asks of it.
#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace live_test {

class SlowLink {
  public:
    // Opens the link's socket in folder (which must exist) toward the server's socket in serverDir.
    SlowLink(const std::string& folder, const std::string& serverDir, size_t bytesPerSecond)
        : folder_(folder), server_(serverDir + "/" + socketName), bytesPerSecond_(bytesPerSecond) {
        listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = addressOf(folder_ + "/" + socketName);
        unlink(address.sun_path);
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 8) != 0)
            throw std::runtime_error("the slow link cannot listen in " + folder_);
        acceptor_ = std::thread([this] { acceptAll(); });
    }
    ~SlowLink() {
        stop_ = true;
        acceptor_.join();
        std::lock_guard lock(mutex_);
        for (auto& pump : pumps_)
            pump.join();
        close(listener_);
    }
    SlowLink(const SlowLink&) = delete;
    SlowLink& operator=(const SlowLink&) = delete;

    // The folder to give the driver as its SERVER.
    const std::string& folder() const { return folder_; }

  private:
    static constexpr const char* socketName = ".s.PGSQL.5439";
    static constexpr size_t chunk = 1024;

    static sockaddr_un addressOf(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        return address;
    }

    // Each stop of the link is seen within this.
    static constexpr int tickMs = 50;

    void acceptAll() {
        while (!stop_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (poll(&waiting, 1, tickMs) <= 0)
                continue;
            int client = accept(listener_, nullptr, nullptr);
            if (client < 0)
                continue;
            int server = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address = addressOf(server_);
            if (connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
                close(server);
                close(client);
                continue;
            }
            std::lock_guard lock(mutex_);
            pumps_.emplace_back([this, client, server] { pump(client, server); });
        }
    }

    static bool sendAll(int to, const char* data, ssize_t size) {
        while (size > 0) {
            ssize_t sent = send(to, data, static_cast<size_t>(size), MSG_NOSIGNAL);
            if (sent <= 0)
                return false;
            data += sent;
            size -= sent;
        }
        return true;
    }

    // Until either side closes: the driver's bytes go on at once, the server's a chunk at a time
    // with the pause the rate gives it.
    void pump(int client, int server) {
        auto pause = std::chrono::microseconds(1'000'000 * chunk / bytesPerSecond_);
        char buffer[chunk];
        for (bool open = true; open && !stop_;) {
            pollfd both[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            if (poll(both, 2, tickMs) <= 0)
                continue;
            if (both[0].revents) {
                ssize_t got = recv(client, buffer, sizeof buffer, 0);
                open = got > 0 && sendAll(server, buffer, got);
            }
            if (open && both[1].revents) {
                ssize_t got = recv(server, buffer, sizeof buffer, 0);
                open = got > 0 && sendAll(client, buffer, got);
                std::this_thread::sleep_for(pause);
            }
        }
        close(client);
        close(server);
    }

    std::string folder_, server_;
    size_t bytesPerSecond_;
    int listener_ = -1;
    std::atomic<bool> stop_{false};
    std::thread acceptor_;
    std::mutex mutex_;
    std::vector<std::thread> pumps_;
};

} // namespace live_test
