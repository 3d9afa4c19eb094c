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
    DialogChoice resultWhenSilenced;
};

namespace Notices {
inline constexpr DontShowAgainNotice previewCutoff{"don't preview cutoff point information again",
                                                   "Preview Cutoff Information",
                                                   DialogChoice::None};
inline constexpr DontShowAgainNotice conflicts{"don't remind me about conflict warnings again",
                                               "Conflicts Detected Dialog", DialogChoice::Ok};
inline constexpr DontShowAgainNotice noFilesSelected{
    "don't remind me about no files being selected", "No Files Selected Info Dialog",
    DialogChoice::Help};
inline constexpr DontShowAgainNotice inconsistentSettings{
    "don't remind me about inconsistent settings", "Inconsistent Settings Dialog",
    DialogChoice::Help};
inline constexpr DontShowAgainNotice dropletInformation{"don't show droplet information again",
                                                        "Droplet Information", DialogChoice::Ok};
inline constexpr DontShowAgainNotice dropletEditInformation{
    "don't show droplet edit information again", "Droplet Edit Mode Information",
    DialogChoice::None};
} // namespace Notices

class GenericDontShowAgainDialogController {
public:
    GenericDontShowAgainDialogController(UserInterfacePort& port, UserDefaults& defaults)
        : port_(port), defaults_(defaults) {}

    // The window's choice, or the notice's fixed result when the user silenced it.
    DialogChoice run(const DontShowAgainNotice& notice);
    bool isSilenced(const DontShowAgainNotice& notice) const;

private:
    UserInterfacePort& port_;
    UserDefaults& defaults_;
};

} // namespace morvane
