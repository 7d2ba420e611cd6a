#pragma once

namespace tabulon {

// True when standard error is a terminal that understands cursor control: a line written there
// can be rewritten in place. False for files, pipes, cron's mail and a TERM of "dumb".
bool StandardErrorIsTerminal();

// The width of that terminal in columns; 80 when it cannot be read.
int TerminalColumns();

} // namespace tabulon
