// Writing the file layer's two stores back at the end of program.
//
// The launcher replaces the process at the end of program, so exit handlers alone would lose
// changes held in memory; the end of program therefore writes both stores back through the
// write-back seam before it syncs.
#pragma once

// Writes the line file and the INI store back and leaves them unchanged, so their exit handlers
// find nothing to do. Only FopenCase is used: the resolver contexts are already gone.
void WriteBackFileStores();
