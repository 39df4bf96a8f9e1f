#pragma once
// The CAM data requests wired to the document: its definition slots and ATC
// table, saving the drawing, storing the working definition and starting
// the companion program. The main window installs the CAM data commands with
// InstallCamDataCommands(DocumentCamServices(document)).
#include "kelto_dorn/camdata/cam_services.h"

namespace dorn {

class CKelDoc;

CamServices DocumentCamServices(CKelDoc& document);

}  // namespace dorn
