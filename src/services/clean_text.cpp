// Pecunette — apprendre à remplir un chèque.
#include "clean_text.h"

#include <QLineEdit>

namespace {
bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\u0085' || c == u'\u2028' ||
           c == u'\u2029';
}

bool isDropped(char16_t c)
{
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    const bool directionOverride = (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
    return control || directionOverride;
}
}  // namespace

QString cleanLine(const QString &text)
{
    QString cleaned;
    cleaned.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (isLineBreak(c)) {
            // "\r\n" is one line break, so one blank.
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            cleaned += QLatin1Char(' ');
        } else if (!isDropped(c)) {
            cleaned += QChar(c);
        }
    }
    return cleaned;
}

void cleanAsTyped(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        const QString cleaned = cleanLine(text);
        if (cleaned == text)
            return;
        // The cursor stays after what was typed, less what was dropped before it.
        const int cursor = int(cleanLine(text.left(edit->cursorPosition())).size());
        edit->setText(cleaned);
        edit->setCursorPosition(cursor);
    });
}
