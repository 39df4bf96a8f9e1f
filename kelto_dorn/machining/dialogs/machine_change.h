#pragma once
// The change of machine (the view's 33168 and the definition list's button):
// the machine is chosen, its ATC table loaded, and on Yes every stored
// definition's step tools are rebound to the new machine's tools.
namespace dorn {

class DefinitionSlots;
class DocAtcTable;

// True when a machine was chosen (and its table loaded).
bool ChangeMachine(DefinitionSlots& slots, DocAtcTable& atc);

}  // namespace dorn
