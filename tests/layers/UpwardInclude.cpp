// Compiled as a source of the engine's layer, which lies below the
// application's: the include must not be found (see tests/CMakeLists.txt).
#include "MRVN7x/app/MainController.h"
