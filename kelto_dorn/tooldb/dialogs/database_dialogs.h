#pragma once
// The database editors as the window's File menu opens them: the entries
// toolDatabaseDialog and machineAtcDialog of the command engines.
#include <functional>

namespace dorn {

class DocAtcTable;
class DocToolTable;

// The document's tables the editors work on; null while there is no document.
struct DatabaseTables {
  DocToolTable* tools = nullptr;
  DocAtcTable* atc = nullptr;
};

// Installs the tool database editor and the machine ATC editor; each runs
// modally on the tables `tables` gives when it opens and returns its end code.
void InstallDatabaseDialogs(std::function<DatabaseTables()> tables);

}  // namespace dorn
