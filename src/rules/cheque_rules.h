// Pecunette — apprendre à remplir un chèque.
// The rules of the cheque exercise, as pure functions: no widgets, no clock,
// no I/O. Everything a teacher could argue about is decided here.
#pragma once

#include "montant_en_lettres.h"

#include <array>
#include <string>
#include <vector>

// One word block of the main window.
struct WordBlock {
    int index;  // Nombre(index)
    const char *caption;  // the word a drop adds
    const char *tag;  // the block's value; carried along, never read
    int column;  // place in the block grid, from 1
    int row;
};

// The 29 blocks, by index.
extern const std::array<WordBlock, 29> WordBlocks;

// The caption a block shows in a currency: the blocks "franc" and "francs"
// read "euro" and "euros" when the cheques are in euros.
std::string BlockCaption(const WordBlock &block, Monnaie monnaie);

// The candidate wording K: `wording` (what the cheque shows so far) with the
// block caption `word` joined to it. No blank after "-", "." or "c"; a lone
// "s" glued after "cent", "vingt", "mille", "million", "milliard" or "euro";
// one blank otherwise; then trimmed.
std::string JoinWord(const std::string &wording, const std::string &word);

// A drop is right when `expected` begins with `candidate`, character for
// character, and `candidate` stops where a word of `expected` stops: at its
// end, before a blank or a hyphen, or just before a final plural "s" that the
// "s" block would glue on ("deux cent" in "deux cents", "franc" in "francs").
// Stopping inside a word ("cinq" in "cinquante", "s" in "six") would praise a
// wording that no further block can finish.
bool IsRightDrop(const std::string &expected, const std::string &candidate);

// What a right drop leaves on the cheque: the candidate, plus the hyphen the
// program writes by itself when `expected` continues with one.
std::string WordingAfterRightDrop(const std::string &expected, const std::string &candidate);

struct DropVerdict {
    std::string candidate;  // K, logged whether right or wrong
    bool right = false;
    std::string wording;  // the cheque's wording after the drop (unchanged when wrong)
};

// Judges the drop of `word` on a cheque showing `wording` whose amount reads `expected`.
DropVerdict JudgeDrop(const std::string &expected, const std::string &wording, const std::string &word);

// The block to light for a hint: among the captions whose drop would be judged
// right now, the longest ("cinquante" rather than "cinq"); the empty text when
// no drop can be right (the wording is complete, or went astray).
std::string NextHintWord(const std::string &expected, const std::string &wording, Monnaie monnaie = Monnaie::Franc);

// ---- The same rules for every way a class writes its numbers ----

// The blocks a style needs, by index: today's 29 (with "euro"/"euros" for the
// franc blocks in euros, as BlockCaption gives them), then, where they are
// needed, in a seventh column: "septante" (29; 7,1) in Belgium and
// Switzerland, "huitante" (30; 7,2) in Switzerland, "nonante" (31; 7,3) in
// Belgium and Switzerland, "de" (32; 7,4) and "d'" (33; 7,5) when cheques can
// reach a million (`largestWholeAmount` >= 1 000 000), "centime" (34; 8,1) and
// "centimes" (35; 8,2) with cents. An index always names the same caption,
// whatever the style (but for the currency), so the window can keep one
// label per index. The default style and range give exactly WordBlocks.
std::vector<WordBlock> BlocksFor(const NumberStyle &style, long long largestWholeAmount = MontantMaximum);

// JoinWord for a style: no blank after "-", "." or "'" ("d'euros"); a lone
// "s" glued after "cent", "vingt", "mille", "million", "milliard", "huitante",
// "franc", "euro" or "centime"; one blank otherwise; then trimmed. Unlike the
// two-argument JoinWord, a word after "franc" is not glued to it, since with
// cents "et" follows the currency.
std::string JoinWord(const std::string &wording, const std::string &word, const NumberStyle &style);

// IsRightDrop for a style: `candidate` begins `expected` and stops where a
// word stops: at the end, before a blank or a hyphen, after the apostrophe of
// "d'", or just before a plural "s" the "s" block glues on.
bool IsRightDrop(const std::string &expected, const std::string &candidate, const NumberStyle &style);

// JudgeDrop for a style; the wording after a right drop carries the hyphen
// that follows in `expected` (WordingAfterRightDrop), which in the 1990
// spelling follows nearly every word.
DropVerdict JudgeDrop(const std::string &expected, const std::string &wording, const std::string &word,
                      const NumberStyle &style);

// NextHintWord for a style, among every block the style can show.
std::string NextHintWord(const std::string &expected, const std::string &wording, const NumberStyle &style);

// What the clerk says and the history records when a cheque is complete.
struct ChequeResult {
    int messageTop;  // pixels
    std::string message;  // bubble caption; "\n" breaks the line
    std::string historyRow;  // event text
    bool normal;  // black row (true) or red (false)
};
ChequeResult ChequeResultFor(int erreursCheque);

// The mark of a series, 20 - E * E / (2 * M), computed exactly on whole
// numbers: E wrong drops, M right drops (a count held as a double by the
// state: anything but a whole number from 0 up reads as 0).
struct SeriesMark {
    bool zero = false;  // the mark is 0 or below
    bool whole = false;  // the penalty is a whole number of points
    long long hundredths = 0;  // the mark in hundredths, rounded half up
    // "19,80", "19", "0": the mark as the clerk and the history write it.
    std::string text() const;
};
SeriesMark MarkFor(int erreursSerie, double motsJustes);

// "Ta note est 19,80/20", "Ta note est 19/20" or "TU AS ZERO!".
std::string MarkCaption(int erreursSerie, double motsJustes);
// The series' row in the history: "Note de la série : 19,80 / 20".
std::string MarkHistoryRow(int erreursSerie, double motsJustes);

// A duration as "hh:mm:ss", rounded to the second; whole days are dropped
// (25 hours read 01:00:00) and a negative duration reads 00:00:00.
std::string FormatDuree(long long milliseconds);
