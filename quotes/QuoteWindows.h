// Registers the quote windows' keywords with the window manager.
#pragma once

// "pxhq" the ranking table, "bkph" the board stock table, "fschart" the
// minute chart, and the watch list's keywords (RegisterWatchListWindows).
void RegisterQuoteWindows();
