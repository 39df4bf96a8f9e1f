// The drip feed of start mode 22 against plain serial-port writes of the same
// lines, both to a far side (a pseudo-terminal) that reads at the line's rate
// of 115200 baud (11 520 bytes a second) with XON/XOFF on. The drip feed
// should reach at least 90 % of the plain writes' bytes per second.
// KELTO_DRIP_BYTES sets the program size (default 2 MB: about three minutes
// per run at the line's rate).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "platform/serial_port.h"
#include "platform/text.h"
#include "shared/handover/com_settings.h"
#include "tests/kelto_qup/support/pty_far_side.h"
#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::size_t kLineRate = 11520;  // bytes a second at 115200 baud

std::size_t ProgramBytes() {
  const char* env = std::getenv("KELTO_DRIP_BYTES");
  return env != nullptr ? std::strtoul(env, nullptr, 10) : 2u << 20;
}

std::size_t LineCount(const std::string& text) { return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')); }

std::string Program(std::size_t bytes) {
  std::string text = "%\n";
  for (int n = 0; text.size() < bytes; ++n) text += "N" + std::to_string(n) + "G01X" + std::to_string(n % 500) + ".Y1.F200.\n";
  return text + "%\n";
}

// Reads at the line's rate until `expected` bytes came or the writer is done.
std::size_t ReadAtLineRate(testsupport::PtyFarSide& far, std::size_t expected) {
  std::size_t got = 0;
  const auto start = std::chrono::steady_clock::now();
  while (got < expected) {
    const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto allowed = static_cast<std::size_t>(elapsed * kLineRate);
    if (allowed > got) got += far.Receive(5ms, std::min<std::size_t>(allowed - got, 4096)).size();
    std::this_thread::sleep_for(2ms);
    if (elapsed > expected / double(kLineRate) * 3 + 10) break;
  }
  return got;
}

struct Folder {
  testsupport::TempFolder home;
  Folder() {
    setenv("KELTO_HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() / ".config").c_str(), 1);
    platform::ResetProgramFolder();
    handover::ComSettings s = handover::DefaultComSettings();
    s.baud[0] = 7;  // 115200
    handover::WriteComSettings(home.path() / "$COM_DCB.@@@", s);
  }
};

void DripFeed(benchmark::State& state) {
  Folder folder;
  const std::string program = Program(ProgramBytes());
  std::ofstream(folder.home.path() / "P.NC", std::ios::binary) << program;
  for (auto _ : state) {
    testsupport::PtyFarSide far;
    testsupport::MapComPort("Kelto_qup", 1, far.path());
    qup::RecordingHost host;
    qup::RunContext run(host);
    run.job.Header.startMode = 22;
    run.transfer.Com.PathBuffer = platform::Utf8ToCp932((folder.home.path() / "P.NC").string());
    std::thread sender([&] { run.RunNcTextCheck(); });
    // Each LF goes out as CR LF; the closing "%" ends the program without one.
    const std::size_t expected = program.size() + LineCount(program) - 2;
    const std::size_t got = ReadAtLineRate(far, expected);
    sender.join();
    state.counters["bytes"] = static_cast<double>(got);
    state.SetBytesProcessed(static_cast<std::int64_t>(got));
  }
}

void PlainWrites(benchmark::State& state) {
  const std::string program = Program(ProgramBytes());
  for (auto _ : state) {
    testsupport::PtyFarSide far;
    platform::SerialOpenResult opened = platform::OpenSerialDevice(far.path());
    platform::SerialLineSettings line;
    line.baud = 115200;
    line.xonXoff = true;
    opened.port->Configure(line);
    std::thread sender([&] {
      std::size_t at = 0;
      while (at < program.size()) {
        const std::size_t end = program.find('\n', at);
        opened.port->WriteText(program.substr(at, end - at) + "\r\n", platform::kSerialWaitForever);
        at = end + 1;
      }
    });
    const std::size_t got = ReadAtLineRate(far, program.size() + LineCount(program));
    sender.join();
    opened.port->Close();
    state.counters["bytes"] = static_cast<double>(got);
    state.SetBytesProcessed(static_cast<std::int64_t>(got));
  }
}

BENCHMARK(DripFeed)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(PlainWrites)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
