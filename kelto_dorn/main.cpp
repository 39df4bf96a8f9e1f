// Kelto_Dorn: draws the part, attaches machining to it and writes the CAM
// hand-over for the companion program.
#include "kelto_dorn/window/program.h"

int main(int argc, char** argv) { return dorn::RunKeltoDorn(argc, argv); }
