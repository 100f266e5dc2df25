// Pecunette — apprendre à remplir un chèque.
// The program's pictures (":/pecunette/..."), shared by every window.
#pragma once

// They live in a static library: call this before a window loads one.
void registerPictures();
