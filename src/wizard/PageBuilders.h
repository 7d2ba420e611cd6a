#pragma once

class QFrame;
class QWidget;

namespace tabulon {

struct FormControls;

// Builders of the parts of the main window, one per page or band. Each creates its controls as
// children of `parent`, records them in `ui` and returns the outer frame.
QFrame* buildHeaderBand(FormControls& ui, QWidget* parent);
QFrame* buildWelcomePage(FormControls& ui, QWidget* parent);
QFrame* buildSourcePage(FormControls& ui, QWidget* parent);
QFrame* buildDestinationPage(FormControls& ui, QWidget* parent);
QFrame* buildSelectTablesPage(FormControls& ui, QWidget* parent);
QFrame* buildTransferOptionsPage(FormControls& ui, QWidget* parent);
QFrame* buildProgressPage(FormControls& ui, QWidget* parent);
QFrame* buildResultPage(FormControls& ui, QWidget* parent);
// The row of navigation buttons with the separator above it.
QWidget* buildNavigationRow(FormControls& ui, QWidget* parent);
QFrame* buildBottomBand(FormControls& ui, QWidget* parent);

} // namespace tabulon
