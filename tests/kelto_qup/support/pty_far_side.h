#pragma once
// A pseudo-terminal pair that plays the machine tool at the far end of a
// serial line: the companion opens the slave side by its device path (mapped
// to a COM port in the settings store), the test reads and writes raw bytes on
// the master side.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace testsupport {

class PtyFarSide {
 public:
  PtyFarSide() {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    path_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~PtyFarSide() {
    CloseSlave();
    HangUp();
  }
  PtyFarSide(const PtyFarSide&) = delete;
  PtyFarSide& operator=(const PtyFarSide&) = delete;

  const std::string& path() const { return path_; }
  // The test's own slave descriptor keeps the line alive until the port has it.
  void CloseSlave() {
    if (slave_ >= 0) ::close(slave_);
    slave_ = -1;
  }
  // The machine hangs up.
  void HangUp() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }
  void Send(std::string_view bytes) {
    if (::write(master_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
      throw std::runtime_error("far side write failed");
    }
  }
  // What arrived within `wait`, or once `expected` bytes came.
  std::string Receive(std::chrono::milliseconds wait, std::size_t expected = SIZE_MAX) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + wait;
    while (got.size() < expected && std::chrono::steady_clock::now() < end) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 10) <= 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(master_, buffer, sizeof buffer);
      if (n > 0) got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

// Maps COM<port> of a program's settings store (under XDG_CONFIG_HOME, which
// the program-folder tests point into their folder) to a device path.
inline void MapComPort(std::string_view program, int port, const std::string& devicePath) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const std::filesystem::path folder = std::filesystem::path(xdg ? xdg : "/tmp") / "dornsystem";
  std::filesystem::create_directories(folder);
  std::ofstream ini(folder / (std::string(program) + ".ini"));
  ini << "[SerialPorts]\nCOM" << port << "=" << devicePath << "\n";
}

}  // namespace testsupport
