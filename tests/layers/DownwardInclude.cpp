// Compiled as a source of the engine's layer: its own folder and every layer
// below it are found (see tests/CMakeLists.txt).
#include "MRVN7x/actions/ActionContext.h"
#include "MRVN7x/engine/RenameJournal.h"
#include "MRVN7x/filelist/DynamicFileList.h"
#include "MRVN7x/metadata/ExifHelper.h"
#include "platform/PathText.h"
