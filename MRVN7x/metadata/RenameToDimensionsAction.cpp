#include "MRVN7x/metadata/RenameToDimensionsAction.h"

namespace morvane {} // namespace morvane
