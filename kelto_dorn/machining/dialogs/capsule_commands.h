#pragma once
// The capsule commands that need a dialog: exporting the drawing's
// definitions as a capsule under a name asked in the name dialog, and the
// capsule machining command, which chooses a capsule and applies it.
namespace dorn {

class DefinitionSlots;
class DocAtcTable;

// Asks the capsule name (starting from the last one) and writes every
// stored definition as that capsule. True when written.
bool ExportCapsule(const DefinitionSlots& slots, DocAtcTable& atc);

// 33190: the capsule is chosen among the saved ones and applied to the
// drawing. True when the command started.
bool OnCapsuleMachining();

}  // namespace dorn
