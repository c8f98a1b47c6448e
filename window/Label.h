#pragma once

#include <QLabel>

// A label whose caption is kept exactly as written (line ends included) and shown with
// CR LF as a line break. A label that fits its text grows or shrinks to the right of its
// left edge whenever its caption changes.
class Label : public QLabel
{
    Q_OBJECT
public:
    explicit Label(QWidget *parent);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    void setFitsText(bool fits) { m_fitsText = fits; }
    bool fitsText() const { return m_fitsText; }

signals:
    void captionChanged(const QString &caption);

private:
    QString m_caption;
    bool m_fitsText = false;
};
