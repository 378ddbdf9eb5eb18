#include <cstdio>

#include "pack/qarpack.h"

int main(int argc, char** argv) { return qarpack_run(argc, argv, stdout, stderr); }
