#pragma once
// A notice the user may silence: if its user-defaults key has any value, the
// window is not shown and a fixed result stands in for it; otherwise the
// window runs and a ticked box stores true under the key.
#include "MRVN7x/app/UserInterfacePort.h"
#include "platform/UserDefaults.h"

#include <string>

namespace morvane {

struct DontShowAgainNotice {
    const char* defaultsKey;
    const char* windowResource;
    int resultWhenSilenced;
};

namespace Notices {
inline constexpr DontShowAgainNotice previewCutoff{"don't preview cutoff point information again",
                                                   "Preview Cutoff Information", 0};
inline constexpr DontShowAgainNotice conflicts{"don't remind me about conflict warnings again",
                                               "Conflicts Detected Dialog", 1};
inline constexpr DontShowAgainNotice noFilesSelected{
    "don't remind me about no files being selected", "No Files Selected Info Dialog", 3};
inline constexpr DontShowAgainNotice inconsistentSettings{
    "don't remind me about inconsistent settings", "Inconsistent Settings Dialog", 3};
inline constexpr DontShowAgainNotice dropletInformation{"don't show droplet information again",
                                                        "Droplet Information", 1};
inline constexpr DontShowAgainNotice dropletEditInformation{
    "don't show droplet edit information again", "Droplet Edit Mode Information", 0};
} // namespace Notices

class GenericDontShowAgainDialogController {
public:
    GenericDontShowAgainDialogController(UserInterfacePort& port, UserDefaults& defaults)
        : port_(port), defaults_(defaults) {}

    // The window's choice (1 ok, 2 cancel, 3 help, 4, 5), or the notice's fixed
    // result when the user silenced it.
    int run(const DontShowAgainNotice& notice);
    bool isSilenced(const DontShowAgainNotice& notice) const;

private:
    UserInterfacePort& port_;
    UserDefaults& defaults_;
};

} // namespace morvane
