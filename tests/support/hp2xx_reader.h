#pragma once
// An independent reader of the plotters' HP-GL: hp2xx renders the text to a
// PNG picture in the build folder's "artefacts" (to be looked at) and reports
// how many commands it read and ignored.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/test_support.h"

namespace testsupport {

struct Hp2xxReading {
  bool installed = false;
  int exitCode = -1;
  std::string report;  // what hp2xx said
  // True when hp2xx read commands and ignored none (each page's count is 0).
  bool NothingIgnored() const {
    const std::string tag = "HPGL command(s) ignored: ";
    bool any = false;
    for (std::size_t at = report.find(tag); at != std::string::npos; at = report.find(tag, at + 1)) {
      if (report.compare(at + tag.size(), 2, "0\n") != 0) return false;
      any = true;
    }
    return any;
  }
};

// Renders `hpgl` (from its "IN;" on, the device's escape set-up left out)
// into artefacts/<pngName>; `work` holds the HP-GL and the report.
inline Hp2xxReading ReadWithHp2xx(const std::string& hpgl, const std::filesystem::path& work, const std::string& pngName) {
  Hp2xxReading reading;
  if (std::system("command -v hp2xx >/dev/null 2>&1") != 0) return reading;
  reading.installed = true;
  const std::size_t start = hpgl.find("IN;");
  std::ofstream(work / "plot.hpgl", std::ios::binary) << (start == std::string::npos ? hpgl : hpgl.substr(start));
  const std::filesystem::path png = BinaryFolder() / "artefacts" / pngName;
  std::filesystem::create_directories(png.parent_path());
  const std::string command = "hp2xx -m png -f " + png.string() + " " + (work / "plot.hpgl").string() + " >" +
                              (work / "hp2xx.txt").string() + " 2>&1";
  reading.exitCode = std::system(command.c_str());
  std::ifstream in(work / "hp2xx.txt");
  reading.report.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!std::filesystem::exists(png)) reading.exitCode = -1;
  return reading;
}

}  // namespace testsupport
