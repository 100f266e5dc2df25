// Pecunette — apprendre à remplir un chèque.
#pragma once

#include <cstdint>
#include <string>

// The text between separator number - 1 (or the beginning) and separator
// `number` of `phrase`. A word only counts when a separator follows it; with
// too few separators the word before the last one comes back, and the empty
// text when there is none. `separator` must be one character (byte) long.
std::string ExtraitMot(std::int16_t number, const std::string &phrase, const std::string &separator);
