// Entry of the sbxpack tool; the work is in pack_builder.cpp.
#include "tools/sbxpack/pack_builder.h"

int main(int argc, char** argv) { return RunSbxPack(argc, argv); }
