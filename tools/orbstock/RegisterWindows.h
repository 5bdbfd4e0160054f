// Registers every subsystem's windows with the window manager.
#pragma once

// Called before every start of the program (the application object's exit
// forgets the registrations).
void RegisterWindows();
