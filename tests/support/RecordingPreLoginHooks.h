#pragma once

#include "session/PreLoginForm.h"

namespace ztgl::test {

// What the pre-login window reaches through the start-up, counted instead: the settings dialog
// and the nested start-up (which succeeds unless told otherwise).
struct RecordingPreLoginHooks {
    int settingsShown = 0;
    int mainRuns = 0;
    bool nestedMainSucceeds = true;

    PreLoginForm::Hooks hooks() {
        PreLoginForm::Hooks h;
        h.showConnectSettings = [this] { ++settingsShown; };
        h.runMain = [this] {
            ++mainRuns;
            return nestedMainSucceeds;
        };
        return h;
    }
};

}  // namespace ztgl::test
