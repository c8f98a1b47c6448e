#include "ClassLogLineText.h"

#include "SingleByteText.h"

#include <QStringDecoder>

namespace records {

namespace {

using Kind = ClassLogWarning::Kind;

// A byte the game can write: printable ASCII or a printable Latin-1 letter. Control
// bytes and the 0x80-0x9F block never come from a name typed in the game.
bool isPlainByte(uchar b)
{
    return (b >= 0x20 && b < 0x7F) || b >= 0xA0;
}

bool isPlainChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x20 && u < 0x7F) || u >= 0xA0;
}

} // namespace

QString decodeLogLine(QByteArrayView raw, QList<ClassLogWarning> *warnings)
{
    qsizetype firstOdd = 0;
    while (firstOdd < raw.size() && uchar(raw[firstOdd]) >= 0x20 && uchar(raw[firstOdd]) < 0x7F)
        ++firstOdd;
    if (firstOdd == raw.size()) return decodeText(raw.toByteArray());

    bool highBytes = false;
    for (qsizetype i = firstOdd; i < raw.size() && !highBytes; ++i)
        highBytes = uchar(raw[i]) >= 0x80;
    if (highBytes) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(raw);
        if (!utf8.hasError()) {
            warnings->append({.kind = Kind::Utf8Line});
            qsizetype odd = 0;
            for (QChar &c : text) {
                if (!isPlainChar(c) && c.unicode() < 0x100) {
                    c = QChar::ReplacementCharacter;
                    ++odd;
                }
            }
            if (odd > 0) warnings->append({.kind = Kind::ControlCharacters, .count = odd});
            return text;
        }
    }

    QString text = decodeText(raw.toByteArray());
    qsizetype odd = 0;
    qsizetype firstColumn = 0;
    uchar firstByte = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (!isPlainByte(uchar(raw[i]))) {
            if (odd++ == 0) {
                firstColumn = i + 1;
                firstByte = uchar(raw[i]);
            }
            text[i] = QChar::ReplacementCharacter;
        }
    }
    if (odd > 0)
        warnings->append(
            {.kind = Kind::InvalidBytes, .byte = firstByte, .count = odd, .column = firstColumn});
    return text;
}

} // namespace records
