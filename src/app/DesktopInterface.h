#pragma once

#include "wizard/QtUserInterface.h"

namespace tabulon {

// The wizard's message boxes, clipboard and shell "Open", for a process that may have no display:
// under Qt's offscreen platform no one could answer a message box, so ShowMessage answers by itself.
// The clipboard works there too (within the process), and the error reporter still fills it.
class DesktopInterface : public QtUserInterface {
public:
    using QtUserInterface::QtUserInterface;
    bool canShowMessages() const override;
};

} // namespace tabulon
