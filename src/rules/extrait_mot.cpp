// Pecunette — apprendre à remplir un chèque.
#include "extrait_mot.h"

std::string ExtraitMot(std::int16_t number, const std::string &phrase, const std::string &separator)
{
    // A separator of any other length never equals a single character.
    if (separator.size() != 1)
        return {};

    std::string word;
    std::size_t start = 0;
    int count = 0;
    for (std::size_t i = 0; i < phrase.size(); ++i) {
        if (phrase[i] != separator[0])
            continue;
        word.assign(phrase, start, i - start);
        start = i + 1;
        ++count;
        if (count == number)
            break;
    }
    return word;
}
