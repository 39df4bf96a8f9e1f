#pragma once
// The view command "ＤＸＦ変換" (32832): the user names the file in the CAD
// file list (DXF output mode), chooses in CDxfOutPropertyDlg what to write,
// and the drawing is written as DXF.
#include <string_view>

namespace dorn {

inline constexpr int kCommandDxfExport = 32832;

void OnDxfExport();

// Asks the export properties for the path (CP932) and writes the file.
// False when cancelled or the file could not be written.
bool ExportDxf(std::string_view chosenPath);

}  // namespace dorn
