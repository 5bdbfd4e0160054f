// Registers the watch-list windows with the window manager: the watch-list
// table under its keyword "zxhq", and the editor class under its class name,
// which CNetWnd::OpenStockSearch opens with the search-mode flag.
#pragma once

// Registers (or replaces) the watch-list windows' factories.
void RegisterWatchListWindows();
