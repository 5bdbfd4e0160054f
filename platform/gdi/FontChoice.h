// The face fontconfig chose, kept in a small file of the data directory, so
// a later start loads it without fontconfig's set-up: reading its whole
// configuration takes milliseconds of every start. The choice holds only
// while the font file is the one chosen (same size and modification time);
// otherwise fontconfig chooses again and the choice is kept anew.
#pragma once

#include <optional>
#include <string>

struct CFontChoice {
    std::string file; // the font file's path
    int index = 0;    // the face within it
};

// The kept choice at keptPath; nullopt when there is none, it is damaged, or
// its font file is missing or changed since it was kept.
std::optional<CFontChoice> ReadFontChoice(const std::string& keptPath);
// Keeps choice at keptPath (replaced atomically); false when it cannot be
// written or the font file cannot be examined.
bool KeepFontChoice(const std::string& keptPath, const CFontChoice& choice);
