#pragma once
// The File menu of the view and the document's commands: new drawing, open,
// save, the drawing file list, the network import, the CAD import and the
// database and capsule-name dialogs.
#include <filesystem>
#include <string_view>

namespace dorn {

class CKelView;

void OnFileNew(CKelView& view);               // 33029
void OnFileOpen(CKelView& view);              // 33030
void OnFileSave(CKelView& view);              // 33031
void OnFileNameList(CKelView& view);          // 32978
void OnImportNetworkDrawing(CKelView& view);  // 33246
void OnImportCadFile(CKelView& view);         // 32888

// Runs a File-menu id (33029-33031, 32978, 33246).
void RunFileMenuCommand(CKelView& view, int id);
// Whether the dialogs a File-menu or CAD-import id needs are in the program.
bool FileMenuCommandAvailable(int id);

// The document's commands (33133-33135, 33192): false when not one of them.
bool OnDocumentCommand(int id);
bool DocumentCommandAvailable(int id);

// A chosen file as the path of a drawing without its extension: cut at the
// first "." of the file name (never in a folder name). CP932 in, disk path out.
std::filesystem::path DrawingPathWithoutExtension(std::string_view chosenCp932);

}  // namespace dorn
