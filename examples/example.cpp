// A small program that shows the engine at work until the command-line program exists.
#include <cstdio>

#include "corvendi/Version.h"

int main() {
    std::printf("Corvendi %s\n", corvendi::VersionString());
    return 0;
}
