#pragma once
// Command ids the window handles by name. The menus and bars hold many more;
// those are routed by table (command_routes.h) and named in the tables.
namespace dorn::cmd {

// View: zoom, pan and the view's own dialogs.
inline constexpr int kZoomBox = 32773;
inline constexpr int kZoomIn = 32801;
inline constexpr int kZoomOut = 32802;
inline constexpr int kZoomBack = 33005;
inline constexpr int kCentreAxes = 32994;
inline constexpr int kViewSettings = 32995;
inline constexpr int kFontSettings = 33166;
inline constexpr int kDataEdit = 32792;
inline constexpr int kNcTransfer = 32814;
inline constexpr int kPostSettings = 32819;
inline constexpr int kWorkSettings = 33125;

// Snap, cancel and end of input.
inline constexpr int kSnapMouse = 32998;
inline constexpr int kSnapIntersection = 32999;
inline constexpr int kSnapEndPoint = 33001;
inline constexpr int kAutoIntersection = 33222;
inline constexpr int kCancelPick = 33017;
inline constexpr int kEndInput = 33225;
inline constexpr int kDimensionExtension = 33257;
inline constexpr int kOverwrite = 33055;

// Printing.
inline constexpr int kPrinterOutput = 32818;
inline constexpr int kPrintScrewLeads = 33060;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintDirect = 57608;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFilePrintSetup = 57606;

// File menu and document.
inline constexpr int kFileNew = 33029;
inline constexpr int kFileOpen = 33030;
inline constexpr int kFileSave = 33031;
inline constexpr int kFileNameList = 32978;
inline constexpr int kImportNetworkDrawing = 33246;
inline constexpr int kImportCadFile = 32888;
inline constexpr int kUndo = 33076;
inline constexpr int kRedo = 33218;
inline constexpr int kToolDatabase = 33133;
inline constexpr int kMachineAtc = 33134;
inline constexpr int kHoleProcesses = 33135;
inline constexpr int kCapsuleNames = 33192;

// Line type and colours.
inline constexpr int kLineSolid = 33094;
inline constexpr int kLineDashed = 33095;
inline constexpr int kLineChain1 = 33096;
inline constexpr int kLineChain2 = 33097;
inline constexpr int kLineColour = 33098;
inline constexpr int kCurveColour = 33110;

// Frame: bar menus, layers, switches, exit, read-outs.
inline constexpr int kTopMenu = 32804;
inline constexpr int kPreviousBarMenu = 32886;
inline constexpr int kBarMenuAll = 33018;
inline constexpr int kLayerOverview = 33077;
inline constexpr int kLayerDelete = 33227;
inline constexpr int kExitSaveSize = 33038;
inline constexpr int kExitStandardSize = 33039;
inline constexpr int kExitMaximized = 33196;
inline constexpr int kAngle90Reference = 33002;
inline constexpr int kDimensionValues = 33085;
inline constexpr int kCadDisplay = 33139;
inline constexpr int kCoordinateAxes = 33165;
inline constexpr int kThickLine = 33171;
inline constexpr int kDimensionCrossMode = 33154;
inline constexpr int kDimensionLineMode = 33155;
inline constexpr int kDefinitionGroups = 33195;
inline constexpr int kFileServer = 33193;
inline constexpr int kCoordFileA = 33214;
inline constexpr int kCoordFileB = 33215;
inline constexpr int kToolReportA = 33259;
inline constexpr int kToolReportB = 33260;
inline constexpr int kUnitName = 33062;
inline constexpr int kSecondName = 33063;
inline constexpr int kFileName = 33064;
inline constexpr int kMachineName = 33167;

// Application.
inline constexpr int kAbout = 57664;
inline constexpr int kMachiningInfo = 1354;
inline constexpr int kDrawingSize = 33065;
inline constexpr int kBoxHoleSettings = 33138;
inline constexpr int kTimeEstimate = 33191;

// Commands the click dispatch and the keys name.
inline constexpr int kCapsuleMachining = 33190;
inline constexpr int kCurveJoin = 32907;
inline constexpr int kRectangleContour = 32842;
inline constexpr int kMidLine = 33216;
inline constexpr int kOriginMove = 33169;
inline constexpr int kDimensionTextEdit = 33258;
inline constexpr int kPointGroupCurve = 32908;
inline constexpr int kRestyleLineType = 33102;
inline constexpr int kRestyleColour = 33104;
inline constexpr int kRestyleWidth = 33175;
inline constexpr int kOriginChange = 33128;
inline constexpr int kTaper = 32968;
inline constexpr int kTaperCurve = 33127;
inline constexpr int kClipping = 32823;

}  // namespace dorn::cmd
