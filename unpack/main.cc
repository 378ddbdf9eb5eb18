#include <cstdio>

#include "unpack/qarunpack.h"

int main(int argc, char** argv) { return qarunpack_run(argc, argv, stdout, stderr); }
