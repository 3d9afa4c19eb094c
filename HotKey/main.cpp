#include "HotKey/HotKeyProgram.h"

int main(int argc, char** argv) {
    return tsyhotkey::runHotKeyProgram(argc, argv);
}
