// Pecunette — apprendre à remplir un chèque.
// Printable worksheets: blank cheques to fill in by hand, and their answer key.
#pragma once

#include "safe_file.h"
#include "worksheet_content.h"

#include <QRectF>
#include <QString>

#include <vector>

class QPagedPaintDevice;

constexpr int ChequesPerPage = 3;

// Where one cheque's row of the answer key was drawn, in the device's own pixels,
// from the top left of the page's printable area.
struct WorksheetKeyRow {
    int page = 0;  // from 0, the first page of the document
    QRectF cell;  // the whole row: number, amount and wording, with the space around them
    QRectF number;  // where the cheque's number is written, inside the cell
    QRectF amount;  // its amount in figures
    QRectF wording;  // the lines of its wording
    int lines = 0;  // how many lines the wording takes
};

struct WorksheetPainted {
    int pages = 0;  // 0 when the device cannot be painted on
    std::vector<QRectF> cheques;  // where each cheque lies on its page, in device pixels, in order
    std::vector<WorksheetKeyRow> keyRows;  // one a cheque, in order
};

// Whether the answer key follows the cheques: a teacher may hand out the sheets without it.
enum class AnswerKey { Included, Omitted };

// Pages of blank cheques, three a page, each page with a line for the pupil's
// name and the date; then, on pages of its own, the answer key.
WorksheetPainted paintWorksheet(QPagedPaintDevice &device, const std::vector<WorksheetCheque> &cheques,
                                const WorksheetLabels &labels, AnswerKey answerKey = AnswerKey::Included);

// The worksheet as a PDF file; on failure the file is left as it was and the result says why.
FileWriteResult writeWorksheetPdf(const QString &path, const std::vector<WorksheetCheque> &cheques,
                                  const WorksheetLabels &labels, AnswerKey answerKey = AnswerKey::Included);
