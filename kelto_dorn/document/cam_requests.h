#pragma once
// The CAM data requests wired to the document: its definition slots and ATC
// table, saving the drawing, storing the working definition and starting
// the companion program. The program installs the CAM data commands with
// InstallCamDataCommands(CurrentDocumentCamServices).
#include "kelto_dorn/camdata/cam_services.h"

namespace dorn {

class CKelDoc;

CamServices DocumentCamServices(CKelDoc& document);
// The services of the document that exists now (g_pDocument); without one,
// services that cannot build.
CamServices CurrentDocumentCamServices();

}  // namespace dorn
