#include "Label.h"

Label::Label(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setIndent(0);
}

void Label::setCaption(const QString &caption)
{
    m_caption = caption;
    QString shown = caption;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
    if (m_fitsText) {
        // The text's own extent plus the border, nothing more.
        const QSize text =
            fontMetrics().boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, shown).size();
        resize(text.width() + 2 * frameWidth(), text.height() + 2 * frameWidth());
    }
    emit captionChanged(caption);
}
