#include <cmath>

#include "kelto_dorn/machining/hole_fields.h"
#include "platform/paths.h"

namespace dorn {

ChamferDetail g_chamferDetail;

namespace {

std::filesystem::path ChamferDetailPath() {
  return platform::ResolvePath(platform::ProgramFolder(), kChamferDetailFileName);
}

bool Finite(const ChamferDetail& d) {
  return std::isfinite(d.size) && std::isfinite(d.offset) && std::isfinite(d.downRate) &&
         std::isfinite(d.approachRate);
}

}  // namespace

platform::FileResult ReadChamferDetail(ChamferDetail& out) {
  ChamferDetail read;
  platform::FileResult r = platform::ReadRecord(ChamferDetailPath(), read);
  if (r.ok() && !Finite(read)) {
    r.status = platform::FileStatus::WrongSize;
    r.message = ChamferDetailPath().string() + ": a value is not a number";
  }
  out = r.ok() ? read : ChamferDetail{};
  return r;
}

platform::FileResult WriteChamferDetail(const ChamferDetail& detail) {
  return platform::WriteRecord(ChamferDetailPath(), detail);
}

void CopyChamferDetailToDefinition(const ChamferDetail& detail, MachiningDefinition& d) {
  HoleChamferSize(d) = detail.size;
  HoleChamferOffset(d) = detail.offset;
  HoleChamferDownRate(d) = detail.downRate;
  HoleChamferApproachRate(d) = detail.approachRate;
}

ChamferDetail ChamferDetailOfDefinition(MachiningDefinition& d) {
  return {HoleChamferSize(d), HoleChamferOffset(d), HoleChamferDownRate(d), HoleChamferApproachRate(d)};
}

}  // namespace dorn
