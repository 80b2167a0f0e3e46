// The style file: a short text in the working directory, read once at
// start-up before the engine is built, that sets the hash size, a few
// options, the search depth and the fourteen evaluation weights. Only the
// order of its equals signs matters; labels and lines are free text.
#pragma once

namespace zarvi {

constexpr const char* styleFileName = "estilo.ini";
constexpr const char* fallbackStyleFileName = "style.ini";
// Only this many characters of the file count.
constexpr int styleTextLimit = 1000;
// Numbers of the file saturate here instead of wrapping: a number too large
// for any setting then means that setting's top.
constexpr int styleNumberCeiling = 2147483647;
constexpr int resignFactor = 250;  // resign value 6 is a threshold of -1500
constexpr int maxWeight = 100;

// Reads estilo.ini, or style.ini when that cannot be opened; with neither
// every setting keeps its value.
void readStyleFile();

// Reads the style file at path; false, with nothing changed, when it
// cannot be opened.
bool readStyleFile(const char* path);

// Applies style text as the file's first characters: section 1 up to the
// first "-" (the k-th "=" gives style value k), section 2 from there up to
// the first "*" (the j-th "=" gives weight j).
void applyStyleText(const char* text, int length);

}  // namespace zarvi
