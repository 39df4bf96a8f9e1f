#pragma once
// The document of the single-document program: the tool table, the ATC table
// and the 512 machining definition slots (the 256 surface slots are
// g_surfaceSlots of the surfaces). The figures themselves live in the figure
// store of the kernel. g_pDocument points to the one document while it exists.
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/tool_table.h"

namespace dorn {

class CKelDoc {
 public:
  // Reads the current base, tool and machine names and, when a machine is
  // chosen, its ATC table.
  CKelDoc();
  ~CKelDoc();
  CKelDoc(const CKelDoc&) = delete;
  CKelDoc& operator=(const CKelDoc&) = delete;

  int firstWord = 0;
  DocToolTable tools;
  DocAtcTable atc;
  DefinitionSlots definitions;
};

extern CKelDoc* g_pDocument;

// Empties the working drawing: the figure tables 0-31, 90 and 99, the layer
// and origin tables, the curves, the surface and machining definitions, the
// per-layer view values and every text record.
void ResetDrawing(CKelDoc& document);

// The same, with the figure tables 0-31 and 90 only emptied (count 0): the
// drawing loader overwrites their slots and then clears what lies behind
// the new counts (ClearFigureTablesBehindCounts), which leaves the tables as
// ResetDrawing would without walking every slot twice.
void ResetDrawingForLoad(CKelDoc& document);
void ClearFigureTablesBehindCounts();

}  // namespace dorn
